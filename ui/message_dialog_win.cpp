#include "ui/message_dialog.h"

#include <windows.h>

#include <vector>

#include "ui/application.h"
#include "ui/font.h"
#include "ui/handles.h"
#include "ui/message_dialog_layout.h"

namespace ui {

namespace {

struct ButtonSpec {
  int id;
  const char* caption;
  DialogResult result;
};

const ButtonSpec kAbort{IDABORT, "&Abort", DialogResult::Abort};
const ButtonSpec kOk{IDOK, "OK", DialogResult::Ok};
const ButtonSpec kCancel{IDCANCEL, "Cancel", DialogResult::Cancel};
const ButtonSpec kYes{IDYES, "&Yes", DialogResult::Yes};
const ButtonSpec kNo{IDNO, "&No", DialogResult::No};

struct ButtonSet {
  ButtonSpec buttons[2];
  int count;
  // The answer of the close box and Escape.
  DialogResult closeResult;
};

ButtonSet buttonSet(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::Abort:
      return {{kAbort, kAbort}, 1, DialogResult::Abort};
    case DialogButtons::Ok:
      return {{kOk, kOk}, 1, DialogResult::Ok};
    case DialogButtons::OkCancel:
      return {{kOk, kCancel}, 2, DialogResult::Cancel};
    case DialogButtons::YesNo:
      break;
  }
  return {{kYes, kNo}, 2, DialogResult::No};
}

const char* dialogTitle(DialogKind kind) {
  switch (kind) {
    case DialogKind::Error:
      return "Error";
    case DialogKind::Information:
      return "Information";
    case DialogKind::Confirmation:
      break;
  }
  return "Confirm";
}

const char* dialogIcon(DialogKind kind) {
  switch (kind) {
    case DialogKind::Error:
      return IDI_HAND;
    case DialogKind::Information:
      return IDI_ASTERISK;
    case DialogKind::Confirmation:
      break;
  }
  return IDI_QUESTION;
}

struct DialogState {
  const std::string* text;
  DialogKind kind;
  ButtonSet set;
  UniqueFont font;
  bool done = false;
  DialogResult result = DialogResult::Abort;
};

// A dialog template with no items: the parts are made in pixels at
// WM_INITDIALOG, once the text has been measured.
std::vector<WORD> emptyDialogTemplate() {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  return {
      LOWORD(style), HIWORD(style),  // style
      0, 0,                          // extended style
      0,                             // item count
      0, 0, 0, 0,                    // x, y, cx, cy (set later)
      0,                             // no menu
      0,                             // standard dialog class
      0,                             // empty title (set later)
  };
}

SIZE measureText(HWND dialog, HFONT font, const std::string& text) {
  HDC dc = GetDC(dialog);
  HGDIOBJ previous = SelectObject(dc, font);
  // Long texts wrap at half the screen width.
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, previous);
  ReleaseDC(dialog, dc);
  return {r.right - r.left, r.bottom - r.top};
}

HWND addChild(HWND dialog, HFONT font, const char* windowClass, const char* text, DWORD style, const Bounds& b,
              int id) {
  HWND child = CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, b.left, b.top, b.width, b.height,
                               dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void buildDialog(HWND dialog, DialogState& state) {
  state.font.reset(createFont(FontDesc{}));
  HFONT font = state.font.get();
  SetWindowTextA(dialog, dialogTitle(state.kind));
  const SIZE textSize = measureText(dialog, font, *state.text);
  const MessageDialogLayout l = layOutMessageDialog(textSize.cx, textSize.cy, state.set.count);

  HWND icon = addChild(dialog, font, "STATIC", "", SS_ICON, l.icon, -1);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, dialogIcon(state.kind))), 0);
  addChild(dialog, font, "STATIC", state.text->c_str(), SS_LEFT | SS_NOPREFIX, l.text, -1);
  for (int i = 0; i < state.set.count; ++i) {
    const ButtonSpec& b = state.set.buttons[i];
    const Bounds where{l.buttonsLeft + i * (l.buttonWidth + l.buttonSpacing), l.buttonsTop, l.buttonWidth,
                       l.buttonHeight};
    const DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    HWND button = addChild(dialog, font, "BUTTON", b.caption, style, where, b.id);
    if (i == 0) SetFocus(button);
  }

  RECT outer{0, 0, l.clientWidth, l.clientHeight};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  SetWindowPos(dialog, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, 0);
}

void answer(DialogState& state, int id) {
  for (int i = 0; i < state.set.count; ++i) {
    if (state.set.buttons[i].id == id) {
      state.result = state.set.buttons[i].result;
      state.done = true;
      return;
    }
  }
  // Escape and the close box arrive as IDCANCEL.
  if (id == IDCANCEL) {
    state.result = state.set.closeResult;
    state.done = true;
  }
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      buildDialog(dialog, *reinterpret_cast<DialogState*>(lParam));
      return FALSE;  // focus is set on the first button
    case WM_COMMAND:
      if (state != nullptr && HIWORD(wParam) == BN_CLICKED) answer(*state, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

// The windows of this thread that a modal dialog disables while it is up.
struct DisabledWindows {
  std::vector<HWND> windows;
  HWND except = nullptr;
};

BOOL CALLBACK disableWindow(HWND window, LPARAM lParam) {
  auto* disabled = reinterpret_cast<DisabledWindows*>(lParam);
  if (window != disabled->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    disabled->windows.push_back(window);
  }
  return TRUE;
}

}  // namespace

DialogResult messageDlg(const std::string& text, DialogKind kind, DialogButtons buttons) {
  DialogState state{&text, kind, buttonSet(buttons), UniqueFont()};
  state.result = state.set.closeResult;
  HWND owner = GetActiveWindow();
  if (owner == nullptr) owner = application().handle();

  const std::vector<WORD> dialogTemplate = emptyDialogTemplate();
  UniqueWindow dialog(CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                                 reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), owner,
                                                 dialogProc, reinterpret_cast<LPARAM>(&state)));
  if (!dialog) return state.result;

  // Modal through the application's own loop, so that its message hook
  // sees the dialog's messages too.
  DisabledWindows disabled;
  disabled.except = dialog.get();
  EnumThreadWindows(GetCurrentThreadId(), disableWindow, reinterpret_cast<LPARAM>(&disabled));
  ShowWindow(dialog.get(), SW_SHOW);
  HWND previousModal = application().setModalDialog(dialog.get());
  while (!state.done && !application().terminated()) application().handleMessage();
  application().setModalDialog(previousModal);
  // Enabled again before the dialog goes, so that activation returns to the
  // owner.
  for (HWND window : disabled.windows) EnableWindow(window, TRUE);
  dialog.reset();
  return state.result;
}

}  // namespace ui
