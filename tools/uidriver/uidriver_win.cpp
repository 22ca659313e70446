#include "tools/uidriver/uidriver.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "ui/control_name.h"

namespace uidriver {

namespace {
// A program inside a long step answers no message; the driver then reads
// what the system keeps.
const UINT kMessageTimeoutMs = 2000;

template <class Condition>
bool waitUntil(Condition condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string className(HWND window) {
  char buffer[256];
  const int n = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string storedText(HWND window) {
  char buffer[1024];
  const int n = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string withoutAmpersands(const std::string& caption) {
  std::string plain;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      // "&&" shows one "&".
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        plain += '&';
        ++i;
      }
      continue;
    }
    plain += caption[i];
  }
  return plain;
}

bool isPushButton(HWND window) {
  if (className(window) != "Button") return false;
  const LONG kind = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON;
}

bool isIcon(HWND window) {
  return className(window) == "Static" && (GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

BOOL CALLBACK collectChild(HWND child, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
  return TRUE;
}

std::vector<HWND> descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, collectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> buttonsLeftToRight(HWND window) {
  std::vector<HWND> buttons;
  for (HWND child : descendants(window)) {
    if (isPushButton(child)) buttons.push_back(child);
  }
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](HWND a, HWND b) { return windowGeometry(a).left < windowGeometry(b).left; });
  return buttons;
}

bool ofProcess(HWND window, DWORD processId) {
  if (processId == 0) return true;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == processId;
}

struct WindowSearch {
  const std::string* caption = nullptr;  // nullptr: message dialogs
  DWORD processId = 0;
  HWND found = nullptr;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  if (!IsWindowVisible(window) || !ofProcess(window, search.processId)) return TRUE;
  // The caption of another process's window is read as the system keeps it:
  // no message is sent, so a busy program cannot stall the search.
  const bool match = search.caption == nullptr ? className(window) == "#32770" : storedText(window) == *search.caption;
  if (!match) return TRUE;
  search.found = window;
  return FALSE;
}

HWND searchTopLevel(const std::string* caption, DWORD processId) {
  WindowSearch search;
  search.caption = caption;
  search.processId = processId;
  EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DialogInfo readDialog(HWND dialog) {
  DialogInfo d;
  d.handle = dialog;
  d.title = text(dialog);
  for (HWND child : descendants(dialog)) {
    if (isIcon(child)) {
      DWORD_PTR icon = 0;
      SendMessageTimeoutA(child, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &icon);
      d.hasIcon = d.hasIcon || icon != 0;
    } else if (className(child) == "Static") {
      d.text = text(child);
    }
  }
  for (HWND button : buttonsLeftToRight(dialog)) d.buttons.push_back(withoutAmpersands(text(button)));
  return d;
}
}  // namespace

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

HWND findWindow(const std::string& caption, DWORD processId) {
  return searchTopLevel(&caption, processId);
}

HWND waitForWindow(const std::string& caption, int timeoutMs, DWORD processId) {
  HWND found = nullptr;
  waitUntil([&] { return (found = findWindow(caption, processId)) != nullptr; }, timeoutMs);
  return found;
}

HWND findControl(HWND topLevel, const std::string& name) {
  for (HWND child : descendants(topLevel)) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(child, ui::kControlNameProperty)));
    if (atom == 0) continue;
    char buffer[256];
    const UINT n = GlobalGetAtomNameA(atom, buffer, sizeof buffer);
    if (std::string(buffer, n) == name) return child;
  }
  return nullptr;
}

HWND findButton(HWND topLevel, const std::string& caption) {
  for (HWND button : buttonsLeftToRight(topLevel)) {
    if (withoutAmpersands(text(button)) == caption) return button;
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
  return storedText(window);
}

bool isVisible(HWND window) {
  return IsWindowVisible(window) != FALSE;
}

Geometry windowGeometry(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Geometry controlGeometry(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Geometry clientGeometry(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {0, 0, r.right, r.bottom};
}

std::string ownerText(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  return owner == nullptr ? "" : text(owner);
}

bool clickButton(HWND topLevel, const std::string& caption) {
  HWND button = findButton(topLevel, caption);
  if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
  // Posted: the click's handler may run a modal loop of its own.
  return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

void closeWindow(HWND window) {
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::optional<DialogInfo> findDialog(DWORD processId) {
  HWND dialog = searchTopLevel(nullptr, processId);
  if (dialog == nullptr) return std::nullopt;
  return readDialog(dialog);
}

std::optional<DialogInfo> waitForDialog(int timeoutMs, DWORD processId) {
  std::optional<DialogInfo> found;
  waitUntil([&] { return (found = findDialog(processId)).has_value(); }, timeoutMs);
  return found;
}

std::optional<DialogInfo> answerDialog(const std::string& button, int timeoutMs, DWORD processId) {
  std::optional<DialogInfo> dialog = waitForDialog(timeoutMs, processId);
  if (!dialog || !clickButton(dialog->handle, button)) return std::nullopt;
  return dialog;
}

Process::~Process() {
  if (handle_ == nullptr) return;
  if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, 5000);
  }
  CloseHandle(handle_);
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
  other.handle_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Process gone(std::move(*this));
    handle_ = other.handle_;
    id_ = other.id_;
    other.handle_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

std::optional<Process> Process::start(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return std::nullopt;
  }
  CloseHandle(info.hThread);
  Process process;
  process.handle_ = info.hProcess;
  process.id_ = info.dwProcessId;
  return process;
}

std::optional<DWORD> Process::waitForExit(int timeoutMs) {
  if (handle_ == nullptr) return std::nullopt;
  if (WaitForSingleObject(handle_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

std::string windowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string converted = "Z:" + path;
  std::replace(converted.begin(), converted.end(), '/', '\\');
  return converted;
}

}  // namespace uidriver
