#include "ui/application.h"

#include "ui/form.h"

namespace ui {

namespace {
const char* const kApplicationClass = "SaverApplication";

LRESULT CALLBACK applicationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The owner window is never used directly; closing it from the taskbar
  // closes the main form as its close box would.
  if (message == WM_CLOSE) {
    if (TForm* form = application().mainForm()) form->close();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

TApplication& application() {
  static TApplication instance;
  return instance;
}

void TApplication::initialize() {
  if (window_) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = applicationWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.lpszClassName = kApplicationClass;
  RegisterClassA(&wc);
  // A captioned window without size: it exists for its taskbar button and
  // as the owner of every form.
  window_.reset(CreateWindowExA(0, kApplicationClass, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                                                             WS_MINIMIZEBOX,
                                GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                nullptr, nullptr, wc.hInstance, nullptr));
}

std::string TApplication::title() const {
  char buffer[512];
  const int n = GetWindowTextA(window_.get(), buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void TApplication::setTitle(const std::string& title) {
  SetWindowTextA(window_.get(), title.c_str());
}

void TApplication::createForm(TForm& form) {
  form.create(window_.get());
  if (mainForm_ == nullptr) mainForm_ = &form;
  // The taskbar button appears with the first form, as the owner's.
  if (window_ && !IsWindowVisible(window_.get())) ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
}

HWND TApplication::setModalDialog(HWND dialog) {
  HWND previous = modalDialog_;
  modalDialog_ = dialog;
  return previous;
}

bool TApplication::processMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (hook_ != nullptr) hook_->onMessage(msg, handled);
  if (handled) return true;
  if (modalDialog_ != nullptr && IsDialogMessageA(modalDialog_, &msg)) return true;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  return true;
}

void TApplication::processMessages() {
  while (processMessage()) {
  }
}

void TApplication::handleMessage() {
  if (!processMessage()) WaitMessage();
}

void TApplication::run() {
  while (!terminated_) handleMessage();
}

void TApplication::terminate() {
  if (terminated_) return;
  PostQuitMessage(0);
}

}  // namespace ui
