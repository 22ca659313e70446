#include "tests/files/dialog_answerer.h"

#include <windows.h>

namespace {
std::string textOf(HWND window) {
  char buffer[4096];
  const int n = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string className(HWND window) {
  char buffer[64];
  const int n = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

BOOL CALLBACK findDialog(HWND window, LPARAM lParam) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && IsWindowVisible(window) && className(window) == "#32770") {
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
  }
  return TRUE;
}

struct Parts {
  SeenDialog* seen;
  const std::string* wanted;
  HWND button = nullptr;
};

BOOL CALLBACK readPart(HWND child, LPARAM lParam) {
  Parts& parts = *reinterpret_cast<Parts*>(lParam);
  const std::string kind = className(child);
  if (kind == "Button") {
    std::string caption;
    for (char c : textOf(child)) {
      if (c != '&') caption += c;
    }
    parts.seen->buttons.push_back(caption);
    if (caption == *parts.wanted) parts.button = child;
  } else if (kind == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
    parts.seen->text = textOf(child);
  }
  return TRUE;
}
}  // namespace

DialogAnswerer::DialogAnswerer(std::string button) : button_(std::move(button)), thread_([this] { answer(); }) {}

DialogAnswerer::~DialogAnswerer() {
  if (thread_.joinable()) thread_.join();
}

SeenDialog DialogAnswerer::seen() {
  if (thread_.joinable()) thread_.join();
  return answered_ ? seen_ : SeenDialog{};
}

void DialogAnswerer::answer() {
  for (int attempt = 0; attempt < 1000; ++attempt) {
    Sleep(10);
    HWND dialog = nullptr;
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) continue;
    seen_ = SeenDialog{};
    seen_.title = textOf(dialog);
    Parts parts{&seen_, &button_};
    EnumChildWindows(dialog, readPart, reinterpret_cast<LPARAM>(&parts));
    if (parts.button == nullptr) return;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(parts.button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(parts.button));
    answered_ = true;
    return;
  }
}
