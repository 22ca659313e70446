#pragma once
// Test-only UI driver: looks at and works the installer's windows from
// another process, as a person would. Used by the gtest-based Wine tests as
// a library and by shell scenarios through the uidriver console program.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace uidriver {

struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct DialogInfo {
  HWND handle = nullptr;
  std::string title;
  std::string text;
  std::vector<std::string> buttons;  // captions without their "&"
  bool hasIcon = false;
};

// All waits poll until the condition holds or timeoutMs has passed.
inline constexpr int kDefaultTimeoutMs = 10000;

// Polls the condition until it holds (true) or timeoutMs has passed (false).
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kDefaultTimeoutMs);

// A visible top-level window with exactly this caption; processId 0 accepts
// any process.
HWND findWindow(const std::string& caption, DWORD processId = 0);
HWND waitForWindow(const std::string& caption, int timeoutMs = kDefaultTimeoutMs, DWORD processId = 0);

// A control of our forms by the name in its form table ("Label1").
HWND findControl(HWND topLevel, const std::string& name);
// A button by its caption, "&" ignored.
HWND findButton(HWND topLevel, const std::string& caption);

std::string text(HWND window);
bool isVisible(HWND window);
// The window's outer rectangle in screen pixels.
Geometry windowGeometry(HWND window);
// A control's rectangle in its parent's client area, as a form table gives
// it.
Geometry controlGeometry(HWND control);
// The size of the client area.
Geometry clientGeometry(HWND window);
// The text of the window's owner: for our forms the application title that
// the taskbar shows.
std::string ownerText(HWND window);

// Clicks the button with this caption; false when there is none, or it is
// hidden or disabled.
bool clickButton(HWND topLevel, const std::string& caption);
// Asks the window to close, as its close box does.
void closeWindow(HWND window);

// The first message dialog that is up (processId 0: of any process).
std::optional<DialogInfo> findDialog(DWORD processId = 0);
std::optional<DialogInfo> waitForDialog(int timeoutMs = kDefaultTimeoutMs, DWORD processId = 0);
// Waits for a dialog and clicks its button with this caption; returns what
// the dialog showed, or nothing when no dialog with that button came.
std::optional<DialogInfo> answerDialog(const std::string& button, int timeoutMs = kDefaultTimeoutMs,
                                       DWORD processId = 0);

// A program started for a test; ended when the object goes unless it has
// ended by itself.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // commandLine holds the program, quoted where needed, and its arguments.
  static std::optional<Process> start(const std::string& commandLine);

  DWORD id() const { return id_; }
  // The exit code, or nothing while it still runs after timeoutMs.
  std::optional<DWORD> waitForExit(int timeoutMs = kDefaultTimeoutMs);

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// A path as Windows programs take it: a host path ("/work/x") becomes its
// Wine drive path ("Z:\work\x"); other paths are returned as they are.
std::string windowsPath(const std::string& path);

}  // namespace uidriver
