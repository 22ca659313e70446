// Packages made by the builder (saverpack, run under Wine like an author
// would), read and installed by the start-up and installation steps, and
// compared file by file with what the builder itself extracts from them.
#include <gtest/gtest.h>

#include <algorithm>

#include "installer/window_state.h"
#include "package/data_file.h"
#include "package/entry_extraction.h"
#include "package/package_reader.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "tests/files/dialog_recorder.h"
#include "tests/files/package_fixture.h"
#include "tests/files/scratch.h"
#include "tests/support/case_name.h"
#include "tools/uidriver/uidriver.h"

namespace {
struct BuilderCase {
  const char* name;
  const char* manifest;  // in tests/files/packages/
  const char* saverName;
  const char* pictureWritten;
};

const BuilderCase kBuilderCases[] = {
    {"PictureWithLicenceAndReadMe", "reader-picture.toml", "ReaderTest Picture", "installer.BMP"},
    {"MovieAsMainMovie", "reader-movie.toml", "ReaderTest Movie", "installer.swf"},
};

class BuilderPackages : public PackageTest, public testing::WithParamInterface<BuilderCase> {
 protected:
  void TearDown() override {
    const std::string name = GetParam().saverName;
    scratch::removeAll(systemFolder() + name + ".scr");
    scratch::removeAll(systemFolder() + name + " dir\\");
    PackageTest::TearDown();
  }

  // The start-up's steps for an interactive package, then the run's.
  InstallError installAsTheInstallerWould() {
    InstallError result = copyInstallerToTemp();
    if (result == 0) result = readPackageDirectory();
    if (result != 0) return result;
    setSaverPaths();
    const PackageHeader& header = packageState().packageDirectory.header;
    InstallerWindowState& window = installerWindowState();
    window.installMode = header.installMode;
    window.hasReadMe = header.hasReadMe != 0;
    window.showLicense = header.showLicense != 0;
    if (window.hasReadMe) result = extractReadMe();
    if (result == 0) result = extractInstallerPicture();
    if (result == 0 && window.showLicense) result = extractLicenseText();
    if (result == 0) result = checkExistingSaver(systemFolder(), packageState().saverName, false, "");
    if (result == 0) result = extractInstallEntries(packageState().packageCopyPath);
    if (result == 0) result = readSaverSettings();
    if (result == 0) result = expandDataFile();
    if (result == 0) result = writeSaverSettings();
    if (result == 0) result = copyDocuments();
    return result;
  }
};

TEST_P(BuilderPackages, InstallAsTheBuilderExtracts) {
  const BuilderCase& c = GetParam();
  const std::string tool = uidriver::windowsPath(SAVERPACK_EXE);
  const std::string manifest = uidriver::windowsPath(SAVER_SOURCE_DIR "/tests/files/packages/") + c.manifest;
  const std::string installer = scratch::tempBase() + "built.exe";
  const std::string expected = scratch::tempBase() + "expected\\";
  scratch::removeAll(expected);
  ASSERT_EQ(scratch::run("\"" + tool + "\" build \"" + manifest + "\" -o \"" + installer + "\""), 0);
  // No backslash before a closing quote: it would escape the quote.
  const std::string into = expected.substr(0, expected.size() - 1);
  ASSERT_EQ(scratch::run("\"" + tool + "\" extract \"" + installer + "\" -C \"" + into + "\" --data"), 0);

  setInstallerPaths();
  packageState().exePath = installer;
  ASSERT_EQ(installAsTheInstallerWould(), 0);
  EXPECT_TRUE(dialogs::shown().empty());

  const PackageState& state = packageState();
  const std::string installed = state.installFolder;
  EXPECT_EQ(state.saverName, c.saverName);
  EXPECT_EQ(scratch::readFile(tempFolder() + "impborl.dll"), scratch::readFile(expected + "impborl.dat"));
  const std::string storedPicture = entryNameOf(state.packageDirectory.entries[Slot::Picture]);
  EXPECT_EQ(storedPicture, c.pictureWritten);
  std::string originalPicture = c.pictureWritten;
  if (originalPicture == "installer.BMP") originalPicture = "installer.bmp";
  EXPECT_EQ(scratch::readFile(tempFolder() + c.pictureWritten), scratch::readFile(expected + originalPicture));
  const std::string module = std::string(c.saverName) + ".scr";
  EXPECT_EQ(scratch::readFile(systemFolder() + module), scratch::readFile(expected + module));

  // The install folder holds the data file's files (and "saver.dat"),
  // slots 7, 9 and 10, and the documents the package carries, nothing else.
  std::vector<std::string> want;
  for (const std::string& file : scratch::listFiles(expected + "data")) want.push_back(file);
  for (int slot : {Slot::License, Slot::ReadMe, Slot::SaverMovie, Slot::Support1, Slot::Support2}) {
    const std::string name = entryNameOf(state.packageDirectory.entries[static_cast<std::size_t>(slot)]);
    if (!name.empty()) want.push_back(name);
  }
  std::sort(want.begin(), want.end());
  ASSERT_EQ(scratch::listFiles(installed), want);
  for (const std::string& file : want) {
    const std::string source = scratch::fileExists(expected + "data\\" + file) ? expected + "data\\" + file
                                                                               : expected + file;
    EXPECT_EQ(scratch::readFile(installed + file), scratch::readFile(source)) << file;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, BuilderPackages, testing::ValuesIn(kBuilderCases), CaseName());
}  // namespace
