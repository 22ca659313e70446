// The questions and reports of these steps as real dialogs of our window
// layer, read and answered by the UI driver from a second thread the way a
// person would.
#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "installer/messages.h"
#include "installer/window_state.h"
#include "package/data_file.h"
#include "package/package_reader.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "tests/files/scratch.h"
#include "tools/uidriver/uidriver.h"
#include "ui/application.h"

namespace {
const std::vector<std::string> kAbort{"Abort"};

class RealDialogs : public testing::Test {
 protected:
  void SetUp() override {
    ui::application().initialize();
    ASSERT_EQ(prepareFolders(), 0);
    packageState() = PackageState{};
    packageState().packageCopyPath = tempFolder() + "temp.dat";
    packageState().dataFileTempPath = tempFolder() + "ReaderTest.ssd";
  }
  void TearDown() override {
    closeDataFile();
    scratch::removeAll(tempFolder());
    scratch::removeAll(windowsFolder() + kName + ".scr");
    scratch::removeAll(systemFolder() + kName + " dir\\");
  }

  // Runs a step while a person waits for its dialog and presses `button`.
  template <class Step>
  uidriver::DialogInfo answered(const std::string& button, Step step, InstallError expected) {
    std::optional<uidriver::DialogInfo> seen;
    std::thread person([&] { seen = uidriver::answerDialog(button, 10000, GetCurrentProcessId()); });
    EXPECT_EQ(step(), expected);
    person.join();
    EXPECT_TRUE(seen.has_value()) << "no dialog with " << button;
    return seen.value_or(uidriver::DialogInfo{});
  }

  static constexpr const char* kName = "ReaderTest Dialog";
};

TEST_F(RealDialogs, TheOverwriteQuestion) {
  const std::string question = " screen saver already exists. Overwrite?";
  scratch::writeFile(windowsFolder() + kName + ".scr", "an earlier copy");
  const uidriver::DialogInfo cancelled =
      answered("Cancel", [&] { return checkExistingSaver(systemFolder(), kName, true, question); }, err::UserAbort);
  EXPECT_EQ(cancelled.title, "Confirm");
  EXPECT_TRUE(cancelled.hasIcon);
  EXPECT_EQ(cancelled.text, "ReaderTest Dialog screen saver already exists. Overwrite?");
  EXPECT_EQ(cancelled.buttons, (std::vector<std::string>{"OK", "Cancel"}));
  EXPECT_TRUE(scratch::fileExists(windowsFolder() + kName + ".scr"));

  answered("OK", [&] { return checkExistingSaver(systemFolder(), kName, true, question); }, 0);
  EXPECT_FALSE(scratch::fileExists(windowsFolder() + kName + ".scr"));
  EXPECT_TRUE(scratch::folderExists(systemFolder() + kName + " dir"));
}

TEST_F(RealDialogs, TheFileReport) {
  const std::string copy = packageState().packageCopyPath;
  const uidriver::DialogInfo report =
      answered("Abort", [] { return readPackageDirectory(); }, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(report.title, "Error");
  EXPECT_TRUE(report.hasIcon);
  EXPECT_EQ(report.text, "Installation Error: " + copy + "\r\n\r\nProblem with file " + copy + ". ");
  EXPECT_EQ(report.buttons, kAbort);
}

TEST_F(RealDialogs, TheDataFileBoxes) {
  const std::string path = packageState().dataFileTempPath;
  const uidriver::DialogInfo opening =
      answered("Abort", [&] { return openDataFile(path, true); }, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(opening.title, "Error");
  EXPECT_EQ(opening.text, "Problem opening screen saver data file.\r\n\r\nFile: " + path + "\r\n\r\n2");
  EXPECT_EQ(opening.buttons, kAbort);

  // A settings record and one entry whose chunk lies beyond the file.
  std::string bytes(kSaverSettingsSize + kDataFileEntrySize, '\0');
  bytes[kEntryCountOffset] = 1;
  bytes[kSaverSettingsSize + 2] = 'x';
  bytes[kSaverSettingsSize + 262] = 1;  // chunk offset 65,536
  scratch::writeFile(path, bytes);
  ASSERT_EQ(openDataFile(path, true), 0);
  const uidriver::DialogInfo inUse = answered("Abort", [&] { return openDataFile(path, true); }, 0);
  EXPECT_EQ(inUse.title, "Information");
  EXPECT_TRUE(inUse.hasIcon);
  EXPECT_EQ(inUse.text, "Velmora Error: Screen saver data file already in use.");
  EXPECT_EQ(inUse.buttons, kAbort);

  const uidriver::DialogInfo reading =
      answered("Abort", [] { return expandDataFileEntry(tempFolder(), 1); }, err::ReadBeyondEnd);
  EXPECT_EQ(reading.title, "Error");
  EXPECT_EQ(reading.text, "Velmora Error: Problem reading screen saver data file. " + systemErrorText(100));
  EXPECT_EQ(reading.buttons, kAbort);
}
}  // namespace
