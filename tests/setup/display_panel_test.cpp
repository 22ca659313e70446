// The display control panel, played by a stand-in "rundll32.exe" that sits
// next to this test: the system's search finds the program's own folder
// first, so no other test of the shared prefix sees it.
#include <windows.h>

#include <gtest/gtest.h>

#include "package/package_state.h"
#include "system/display_panel.h"

namespace {
constexpr char kPanelTitle[] = "Display Properties";
constexpr char kPanelCommand[] = "rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1";
constexpr char kClicked[] = "clicked 2\n";
constexpr char kStandInClass[] = "SaverPanelStandIn";

std::string ownFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string readWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char buffer[4096];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer, &got, nullptr);
  CloseHandle(file);
  return std::string(buffer, got);
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class DisplayPanel : public testing::Test {
 protected:
  void SetUp() override {
    // Panel windows are found by title across the whole prefix: runs of
    // this test that overlap (from other build folders) take turns.
    turn_ = CreateMutexA(nullptr, FALSE, "SaverDisplayPanelTests");
    ASSERT_NE(turn_, nullptr);
    const DWORD waited = WaitForSingleObject(turn_, 60000);
    ASSERT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    log_ = std::string(temp) + "panel-" + std::to_string(GetCurrentProcessId()) + "-" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    DeleteFileA(log_.c_str());
    SetEnvironmentVariableA("SAVER_PANEL_LOG", log_.c_str());
    cross_ = LoadCursorA(nullptr, IDC_CROSS);
    SetCursor(cross_);
  }
  void TearDown() override {
    packageState().packageDirectory.header.offerDisplayPanel = 0;
    DeleteFileA(log_.c_str());
    if (turn_ != nullptr) {
      ReleaseMutex(turn_);
      CloseHandle(turn_);
    }
  }

  // Waits up to ten seconds for the stand-in to note the click and close
  // its window, which it does only after closing the log: a log still open
  // elsewhere is not reliably deleted under Wine.
  bool clickSeen() const {
    for (int i = 0; i < 100; ++i) {
      if (readWholeFile(log_).find(kClicked) != std::string::npos &&
          FindWindowA(kStandInClass, nullptr) == nullptr) {
        return true;
      }
      Sleep(100);
    }
    return false;
  }

  HANDLE turn_ = nullptr;
  std::string log_;
  HCURSOR cross_ = nullptr;
};

TEST_F(DisplayPanel, CloseClicksTheCancelButtonOfAnOpenPanel) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const std::string program = ownFolder() + "rundll32.exe";
  char commandLine[] = "rundll32.exe standing-in";
  ASSERT_TRUE(CreateProcessA(program.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process));
  WaitForInputIdle(process.hProcess, 10000);
  ASSERT_NE(FindWindowA(nullptr, kPanelTitle), nullptr);

  closeDisplayProperties();

  EXPECT_TRUE(clickSeen());
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << "the panel closes on the click";
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

TEST_F(DisplayPanel, OpenDoesNothingWhenThePackageDoesNotOfferIt) {
  packageState().packageDirectory.header.offerDisplayPanel = 0;

  openDisplayControlPanel();

  // WinExec returns only once a started panel waits for input, by when the
  // stand-in has written its log: no log means nothing was started.
  EXPECT_FALSE(fileExists(log_));
  EXPECT_EQ(GetCursor(), cross_);
}

TEST_F(DisplayPanel, OpenStartsThePanelOnItsSaverPageAndRestoresTheCursor) {
  packageState().packageDirectory.header.offerDisplayPanel = 1;

  openDisplayControlPanel();

  EXPECT_EQ(GetCursor(), cross_);
  EXPECT_EQ(readWholeFile(log_), std::string(kPanelCommand) + "\n");
  EXPECT_NE(FindWindowA(nullptr, kPanelTitle), nullptr) << "found by the look-ups, still open";

  closeDisplayProperties();
  EXPECT_TRUE(clickSeen());
}
}  // namespace
