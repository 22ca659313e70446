#include "ui/form.h"

#include <cstdlib>

#include "ui/application.h"
#include "ui/control_factory.h"
#include "ui/font.h"

namespace ui {

namespace {
const char* const kFormClass = "SaverForm";
// Control ids follow the table order, away from the dialog ids (1 to 7).
const int kFirstControlId = 100;

void registerFormClass(WNDPROC windowProc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kFormClass;
  registered = RegisterClassA(&wc) != 0;
}

DWORD formStyle(const FormDesc& desc) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  if (desc.border == BorderStyle::Sizeable) style |= WS_THICKFRAME;
  if (desc.borderIcons & SystemMenu) style |= WS_SYSMENU;
  if (desc.borderIcons & MinimizeBox) style |= WS_MINIMIZEBOX;
  if (desc.borderIcons & MaximizeBox) style |= WS_MAXIMIZEBOX;
  return style;
}

DWORD formExStyle(const FormDesc& desc) {
  return desc.alwaysOnTop ? WS_EX_TOPMOST : 0;
}

RECT clientRectOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

RECT windowRectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}
}  // namespace

TForm::TForm(const FormDesc& desc, std::span<const ControlDesc> controls) : desc_(desc), table_(controls) {}

TForm::~TForm() {
  // Messages sent while the windows go away must not reach a half-destroyed
  // form.
  if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
  controls_.clear();
  window_.reset();
}

void TForm::create(HWND owner) {
  registerFormClass(&TForm::windowProc);
  font_.reset(createFont(desc_.font));
  const DWORD style = formStyle(desc_);
  const DWORD exStyle = formExStyle(desc_);
  RECT outer{0, 0, desc_.bounds.width, desc_.bounds.height};
  if (desc_.clientSize) AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  // windowProc takes the handle at WM_NCCREATE, so that the messages of the
  // creation itself reach this form.
  HWND created = CreateWindowExA(exStyle, kFormClass, desc_.caption, style, desc_.bounds.left, desc_.bounds.top,
                                 outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                                 GetModuleHandleA(nullptr), this);
  if (created == nullptr) {
    window_.release();
    return;
  }
  createControls();
  formCreate();
  if (desc_.visible) show();
}

void TForm::createControls() {
  int id = kFirstControlId;
  for (const ControlDesc& row : table_) {
    HWND parent = window_.get();
    if (row.parent != nullptr) {
      const TControl* container = findControl(row.parent);
      if (container == nullptr || container->containerHandle() == nullptr) controlMissing(row.parent);
      parent = container->containerHandle();
    }
    std::unique_ptr<TControl> control = createControl(row, parent, id++);
    if (!control || control->handle() == nullptr) continue;
    SendMessageA(control->handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    controls_.push_back(std::move(control));
  }
  alignControls(window_.get());
}

void TForm::alignControls(HWND container) {
  const RECT client = clientRectOf(container);
  for (const auto& control : controls_) {
    if (control->parentHandle() != container || control->align() != Align::Client) continue;
    control->setBounds({0, 0, client.right, client.bottom});
    if (HWND inner = control->containerHandle()) alignControls(inner);
  }
}

TControl* TForm::findControl(std::string_view name) const {
  for (const auto& control : controls_) {
    if (control->name() == name) return control.get();
  }
  return nullptr;
}

void TForm::controlMissing(std::string_view /*name*/) {
  // A form table and the code using it disagree: a programming error.
  std::abort();
}

int TForm::left() const { return windowRectOf(window_.get()).left; }
int TForm::top() const { return windowRectOf(window_.get()).top; }

int TForm::width() const {
  const RECT r = windowRectOf(window_.get());
  return r.right - r.left;
}

int TForm::height() const {
  const RECT r = windowRectOf(window_.get());
  return r.bottom - r.top;
}

int TForm::clientWidth() const { return clientRectOf(window_.get()).right; }
int TForm::clientHeight() const { return clientRectOf(window_.get()).bottom; }

void TForm::setLeft(int left) { setPosition(left, top()); }
void TForm::setTop(int top) { setPosition(left(), top); }

void TForm::setPosition(int left, int top) {
  SetWindowPos(window_.get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string TForm::caption() const {
  char buffer[512];
  const int n = GetWindowTextA(window_.get(), buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void TForm::setCaption(const std::string& caption) {
  SetWindowTextA(window_.get(), caption.c_str());
}

bool TForm::visible() const {
  return IsWindowVisible(window_.get()) != FALSE;
}

void TForm::show() {
  ShowWindow(window_.get(), SW_SHOWNORMAL);
}

void TForm::hide() {
  ShowWindow(window_.get(), SW_HIDE);
}

void TForm::close() {
  if (!formCloseQuery()) return;
  formClose();
  if (application().mainForm() == this) {
    application().terminate();
  } else {
    hide();
  }
}

bool TForm::handleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

LRESULT TForm::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (handleMessage(message, wParam, lParam, result)) return result;
  HWND window = window_.get();
  switch (message) {
    case WM_ERASEBKGND: {
      RECT r = clientRectOf(window);
      FillRect(reinterpret_cast<HDC>(wParam), &r, colourBrush(desc_.colour));
      return 1;
    }
    case WM_CTLCOLORSTATIC: {
      const TControl* control = TControl::fromHandle(reinterpret_cast<HWND>(lParam));
      const SystemColour colour = control ? control->colour() : desc_.colour;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, colourValue(colour));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(colourBrush(colour));
    }
    case WM_SIZE:
      alignControls(window);
      return 0;
    case WM_CLOSE:
      close();
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK TForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* form = static_cast<TForm*>(create->lpCreateParams);
    form->window_.reset(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return form->dispatch(message, wParam, lParam);
}

}  // namespace ui
