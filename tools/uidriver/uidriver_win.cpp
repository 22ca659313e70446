#include "tools/uidriver/uidriver.h"

#include <algorithm>

#include "ui/control_name.h"

namespace uidriver {

namespace {
// A window of a program that is busy (inside a long step) answers no
// message; the driver then reads what the system keeps.
const UINT kMessageTimeoutMs = 2000;

std::string className(HWND window) {
  char buffer[256];
  const int n = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string withoutAmpersands(const std::string& caption) {
  std::string plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    // "&&" shows one "&".
    if (caption[i] == '&' && !(i + 1 < caption.size() && caption[i + 1] == '&')) continue;
    if (caption[i] == '&') ++i;
    plain += caption[i];
  }
  return plain;
}

bool isButton(HWND window) {
  if (className(window) != "Button") return false;
  const LONG kind = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}

std::vector<HWND> descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lParam) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> buttonsLeftToRight(HWND window) {
  std::vector<HWND> buttons;
  for (HWND child : descendants(window)) {
    if (isButton(child)) buttons.push_back(child);
  }
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](HWND a, HWND b) { return geometry(a).left < geometry(b).left; });
  return buttons;
}

struct WindowSearch {
  const std::string* caption = nullptr;
  DWORD processId = 0;
  bool dialogsOnly = false;
  HWND found = nullptr;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (search.processId != 0 && process != search.processId) return TRUE;
  if (search.dialogsOnly) {
    if (className(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
  } else {
    // The caption of another process's window is what the system keeps; no
    // message is sent, so a busy program cannot stall the search.
    char buffer[1024];
    const int n = GetWindowTextA(window, buffer, sizeof buffer);
    if (std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0) != *search.caption) return TRUE;
  }
  search.found = window;
  return FALSE;
}

HWND searchTopLevel(WindowSearch search, int timeoutMs) {
  waitUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs);
  return search.found;
}

DialogIcon iconOf(HWND dialog) {
  for (HWND child : descendants(dialog)) {
    if (className(child) != "Static" || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &icon);
    if (icon == 0) return DialogIcon::None;
    const struct {
      const char* id;
      DialogIcon icon;
    } standard[] = {{IDI_HAND, DialogIcon::Error},
                    {IDI_ASTERISK, DialogIcon::Information},
                    {IDI_QUESTION, DialogIcon::Question},
                    {IDI_EXCLAMATION, DialogIcon::Warning}};
    for (const auto& s : standard) {
      if (reinterpret_cast<DWORD_PTR>(LoadIconA(nullptr, s.id)) == icon) return s.icon;
    }
    return DialogIcon::Other;
  }
  return DialogIcon::None;
}
}  // namespace

HWND findWindow(const std::string& caption, DWORD processId, int timeoutMs) {
  WindowSearch search;
  search.caption = &caption;
  search.processId = processId;
  return searchTopLevel(search, timeoutMs);
}

bool waitUntilGone(HWND window, int timeoutMs) {
  return waitUntil([&] { return IsWindow(window) == FALSE; }, timeoutMs);
}

std::string controlName(HWND control) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(control, ui::kControlNameProperty)));
  if (atom == 0) return "";
  char buffer[256];
  const UINT n = GlobalGetAtomNameA(atom, buffer, sizeof buffer);
  return std::string(buffer, n);
}

HWND findControl(HWND window, const std::string& nameOrCaption) {
  const std::vector<HWND> children = descendants(window);
  for (HWND child : children) {
    if (controlName(child) == nameOrCaption) return child;
  }
  for (HWND child : children) {
    if (withoutAmpersands(text(child)) == nameOrCaption) return child;
  }
  return nullptr;
}

std::string text(HWND window) {
  // WM_GETTEXT reaches what an edit control holds; the stored caption is the
  // fallback for a program that does not answer.
  char buffer[8192];
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                          kMessageTimeoutMs, &copied) != 0) {
    return std::string(buffer, std::min<std::size_t>(copied, sizeof buffer - 1));
  }
  const int n = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool visible(HWND window) {
  return IsWindowVisible(window) != FALSE;
}

bool enabled(HWND window) {
  return IsWindowEnabled(window) != FALSE;
}

Geometry geometry(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  HWND parent = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
  if (parent != nullptr) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Geometry clientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {0, 0, r.right, r.bottom};
}

DWORD style(HWND window) {
  return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
}

std::string applicationTitle(HWND form) {
  HWND owner = GetWindow(form, GW_OWNER);
  return owner == nullptr ? "" : text(owner);
}

bool clickButton(HWND window, const std::string& caption) {
  for (HWND button : buttonsLeftToRight(window)) {
    if (withoutAmpersands(text(button)) != caption) continue;
    if (!visible(button) || !enabled(button)) return false;
    // Posted: the click's handler may run a modal loop of its own.
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
  }
  return false;
}

void closeWindow(HWND window) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void pressKey(HWND window, UINT virtualKey) {
  const std::vector<HWND> buttons = buttonsLeftToRight(window);
  HWND target = buttons.empty() ? window : buttons.front();
  const UINT scan = MapVirtualKeyA(virtualKey, 0);
  PostMessageA(target, WM_KEYDOWN, virtualKey, static_cast<LPARAM>(1 | (scan << 16)));
  PostMessageA(target, WM_KEYUP, virtualKey, static_cast<LPARAM>(1 | (scan << 16) | (3u << 30)));
}

const char* iconName(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::None:
      return "none";
    case DialogIcon::Error:
      return "error";
    case DialogIcon::Information:
      return "information";
    case DialogIcon::Question:
      return "question";
    case DialogIcon::Warning:
      return "warning";
    case DialogIcon::Other:
      break;
  }
  return "other";
}

Dialog readDialog(HWND dialog) {
  Dialog d;
  d.handle = dialog;
  d.title = text(dialog);
  for (HWND child : descendants(dialog)) {
    if (className(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      d.text = text(child);
    }
  }
  for (HWND button : buttonsLeftToRight(dialog)) d.buttons.push_back(withoutAmpersands(text(button)));
  d.icon = iconOf(dialog);
  return d;
}

std::optional<Dialog> waitForDialog(DWORD processId, int timeoutMs) {
  WindowSearch search;
  search.processId = processId;
  search.dialogsOnly = true;
  HWND dialog = searchTopLevel(search, timeoutMs);
  if (dialog == nullptr) return std::nullopt;
  return readDialog(dialog);
}

bool answerDialog(const Dialog& dialog, const std::string& button) {
  return clickButton(dialog.handle, button);
}

}  // namespace uidriver
