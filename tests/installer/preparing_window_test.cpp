// The installer started as a user would start a download: under its own
// name, looked at through the UI driver from this process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tools/uidriver/uidriver.h"

namespace {
const char* const kName = "My Saver Setup.exe";

// A copy of the built stub under the download's name, in a folder of its
// own.
class StartedInstaller : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "saver-preparing-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    exe_ = folder_ + "\\" + kName;
    ASSERT_TRUE(CopyFileA(uidriver::windowsPath(SAVER_INSTALLER_EXE).c_str(), exe_.c_str(), FALSE));
  }

  void TearDown() override {
    process_ = uidriver::Process();
    DeleteFileA(exe_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  HWND start(const std::string& arguments) {
    auto process = uidriver::Process::start("\"" + exe_ + "\" " + arguments);
    if (!process) return nullptr;
    process_ = std::move(*process);
    return uidriver::waitForWindow(kName, uidriver::kDefaultTimeoutMs, process_.id());
  }

  std::string folder_;
  std::string exe_;
  uidriver::Process process_;
};

TEST_F(StartedInstaller, QuietStartKeepsThePreparingWindowOffScreenWithItsTexts) {
  HWND window = start("/Q");
  ASSERT_NE(window, nullptr) << "no window captioned with the executable's name";

  EXPECT_EQ(uidriver::text(window), kName);
  EXPECT_EQ(uidriver::ownerText(window), "Preparing installation...");
  HWND label = uidriver::findControl(window, "Label1");
  ASSERT_NE(label, nullptr);
  // The caption comes first, the label's text right after it.
  EXPECT_TRUE(uidriver::waitUntil([&] { return uidriver::text(label) == "Preparing installation..."; }))
      << "label reads " << uidriver::text(label);
  EXPECT_TRUE(uidriver::isVisible(window));

  const uidriver::Geometry outer = uidriver::windowGeometry(window);
  EXPECT_EQ(outer.left, -3000);
  EXPECT_EQ(outer.top, -3000);
  const uidriver::Geometry client = uidriver::clientGeometry(window);
  EXPECT_EQ(client.width, 264);
  EXPECT_EQ(client.height, 91);
  const uidriver::Geometry labelBounds = uidriver::controlGeometry(label);
  EXPECT_EQ(labelBounds.left, 0);
  EXPECT_EQ(labelBounds.top, 0);
  EXPECT_EQ(labelBounds.width, 264);
  EXPECT_EQ(labelBounds.height, 91);

  // Single border, close box only.
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(StartedInstaller, InteractiveStartCentresThePreparingWindow) {
  HWND window = start("");
  ASSERT_NE(window, nullptr);
  // The caption is set before the installer window's creation centres it.
  uidriver::waitUntil([&] { return uidriver::windowGeometry(window).left != -3000; });
  const uidriver::Geometry outer = uidriver::windowGeometry(window);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - outer.width) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - outer.height) / 2);
  EXPECT_EQ(uidriver::text(uidriver::findControl(window, "Label1")), "Preparing installation...");
}

TEST_F(StartedInstaller, ClosingThePreparingWindowEndsTheProgram) {
  HWND window = start("/q");
  ASSERT_NE(window, nullptr);
  uidriver::closeWindow(window);
  const auto exitCode = process_.waitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "still running after its main window was closed";
  EXPECT_EQ(*exitCode, 0u);
}
}  // namespace
