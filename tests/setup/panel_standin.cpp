// A stand-in for the display control panel, built as "rundll32.exe" next to
// the panel test so that the installer's WinExec finds it before the
// system's. It appends its command line to the file named by
// SAVER_PANEL_LOG, opens a window titled "Display Properties" whose dialog
// item 2 is a button, and notes "clicked 2" when that button is pressed.
// It ends itself after 30 seconds in case nobody presses it.
#include <windows.h>

#include <string>

namespace {
constexpr int kCancelItem = 2;
constexpr UINT_PTR kGiveUpTimer = 1;

void appendToLog(const std::string& line) {
  char path[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("SAVER_PANEL_LOG", path, sizeof path);
  if (n == 0 || n >= sizeof path) return;
  HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(log);
}

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelItem && HIWORD(wParam) == BN_CLICKED) {
        appendToLog("clicked 2");
        DestroyWindow(window);
      }
      return 0;
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  appendToLog(GetCommandLineA());
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = panelProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "SaverPanelStandIn";
  RegisterClassA(&windowClass);
  HWND panel = CreateWindowA("SaverPanelStandIn", "Display Properties", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200, nullptr,
                             nullptr, instance, nullptr);
  CreateWindowA("BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 180, 120, 90, 28, panel,
                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kCancelItem)), instance, nullptr);
  SetTimer(panel, kGiveUpTimer, 30000, nullptr);
  ShowWindow(panel, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
