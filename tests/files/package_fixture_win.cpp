#include "tests/files/package_fixture.h"

#include "installer/run_flags.h"
#include "installer/window_state.h"
#include "package/data_file.h"
#include "package/package_reader.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "tests/files/dialog_recorder.h"
#include "tests/files/scratch.h"

void PackageTest::SetUp() {
  dialogs::reset();
  closeDataFile();
  packageState() = PackageState{};
  installerWindowState() = InstallerWindowState{};
  runFlags() = RunFlags{};
  ASSERT_EQ(prepareFolders(), 0);
  setInstallerFeedback(&feedback);
  scratch::removeAll(installFolder());
}

void PackageTest::TearDown() {
  setInstallerFeedback(nullptr);
  closeDataFile();
  scratch::removeAll(tempFolder());
  scratch::removeAll(installFolder());
  scratch::removeAll(exePath());
  // Kind 2 and 3 entries of the tests land in the system folder.
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((systemFolder() + "ReaderTest*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      scratch::removeAll(systemFolder() + found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
}

std::string PackageTest::exePath() const { return scratch::tempBase() + "ReaderTest Setup.exe"; }

std::string PackageTest::installFolder() const { return systemFolder() + kSaverName + " dir\\"; }

void PackageTest::writeInstaller(const Bytes& bytes) {
  scratch::writeFile(exePath(), bytes);
  setInstallerPaths();
  packageState().exePath = exePath();
}

InstallError PackageTest::startWith(const TestPackage& package) {
  writeInstaller(package.build());
  InstallError result = copyInstallerToTemp();
  if (result == 0) result = readPackageDirectory();
  if (result != 0) return result;
  setSaverPaths();
  return createSaverFolder(systemFolder(), packageState().saverName);
}
