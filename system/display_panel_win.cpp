#include "system/display_panel.h"

#include <windows.h>

#include "installer/catalogue.h"
#include "package/package_state.h"
#include "system/logFile.h"

namespace {
constexpr char kFixedTitle[] = "Display Properties";
constexpr char kPanelCommand[] = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1";
constexpr int kPanelCancelItem = 2;
constexpr int kPanelLookups = 1000;

// Shows the hourglass for as long as it lives, then puts back the cursor
// that was there before.
class HourglassCursor {
 public:
  HourglassCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
  ~HourglassCursor() { SetCursor(previous_); }
  HourglassCursor(const HourglassCursor&) = delete;
  HourglassCursor& operator=(const HourglassCursor&) = delete;

 private:
  HCURSOR previous_;
};

HWND findWindowTitled(const std::string& title) { return FindWindowA(nullptr, title.c_str()); }
}  // namespace

void closeDisplayProperties() {
  logFile("closeDisplayProperties");
  HWND panel = findWindowTitled(catalogueText(Text::DisplayProperties));
  if (panel == nullptr) panel = findWindowTitled(kFixedTitle);
  if (panel != nullptr) SendDlgItemMessageA(panel, kPanelCancelItem, BM_CLICK, 0, 0);
}

void openDisplayControlPanel() {
  if (packageState().packageDirectory.header.offerDisplayPanel == 0) return;
  logFile("openDisplayControlPanel");
  HourglassCursor hourglass;
  WinExec(kPanelCommand, SW_SHOWNORMAL);
  const std::string title = catalogueText(Text::DisplayProperties);
  for (int lookup = 0; lookup < kPanelLookups; ++lookup) {
    if (findWindowTitled(title) != nullptr) break;
  }
}
