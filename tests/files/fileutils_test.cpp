// The file and folder utilities on real files under Wine: a private TEMP,
// the prefix's own Windows and system folders, and files held busy by a
// second process.
#include <gtest/gtest.h>

#include <string>

#include "system/VLM_FileUtils.h"
#include "tests/files/dialog_recorder.h"
#include "tests/files/held_file.h"
#include "tests/files/scratch.h"
#include "tests/support/case_name.h"

namespace {
std::string env(const char* name) {
  char buffer[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA(name, buffer, MAX_PATH);
  return std::string(buffer, n < MAX_PATH ? n : 0);
}

// Restores an environment variable that a test changes.
class EnvOverride {
 public:
  EnvOverride(const char* name, const char* value) : name_(name), old_(env(name)) {
    SetEnvironmentVariableA(name, value);
  }
  ~EnvOverride() { SetEnvironmentVariableA(name_, old_.c_str()); }

 private:
  const char* name_;
  std::string old_;
};

std::string withBackslash(std::string s) {
  if (s.empty() || s.back() != '\\') s += '\\';
  return s;
}

class FilesTest : public testing::Test {
 protected:
  void SetUp() override {
    dialogs::reset();
    dir_ = scratch::tempBase() + "work\\";
    scratch::removeAll(dir_);
    scratch::makeFolder(dir_);
  }
  void TearDown() override { scratch::removeAll(dir_); }

  std::string dir_;
};

// --- folders ---------------------------------------------------------------

TEST_F(FilesTest, PrepareFoldersSetsAllThreeWithBackslashes) {
  ASSERT_EQ(prepareFolders(), 0);
  char buffer[MAX_PATH];
  const UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  EXPECT_EQ(systemFolder(), withBackslash(std::string(buffer, n)));
  EXPECT_EQ(windowsFolder(), withBackslash(env("WINDIR")));
  EXPECT_EQ(tempFolder().rfind(scratch::tempBase() + "KRX", 0), 0u) << tempFolder();
  EXPECT_EQ(tempFolder().back(), '\\');
  EXPECT_TRUE(scratch::folderExists(tempFolder()));
  scratch::removeAll(tempFolder());
}

TEST_F(FilesTest, TempFolderTakesTheSmallestFreeNumber) {
  const EnvOverride temp("TEMP", dir_.c_str());  // with its trailing backslash
  scratch::makeFolder(dir_ + "KRX1");
  scratch::makeFolder(dir_ + "KRX2");
  std::string folder;
  ASSERT_EQ(makeTempFolder("KRX", folder), 0);
  EXPECT_EQ(folder, dir_ + "KRX3\\");
  scratch::removeAll(dir_ + "KRX1");
  ASSERT_EQ(makeTempFolder("KRX", folder), 0);
  EXPECT_EQ(folder, dir_ + "KRX1\\");
  // A file of a candidate's name is passed over too.
  scratch::writeFile(dir_ + "FlashPanel1", "x");
  ASSERT_EQ(makeTempFolder("FlashPanel", folder), 0);
  EXPECT_EQ(folder, dir_ + "FlashPanel2\\");
}

TEST_F(FilesTest, TempFolderWithoutBackslashInTemp) {
  std::string bare = dir_;
  bare.pop_back();
  const EnvOverride temp("TEMP", bare.c_str());
  std::string folder;
  ASSERT_EQ(makeTempFolder("KRX", folder), 0);
  EXPECT_EQ(folder, dir_ + "KRX1\\");
}

TEST_F(FilesTest, TempFolderWhenAllThousandAreTakenIsAFailure) {
  const EnvOverride temp("TEMP", dir_.c_str());
  for (int n = 1; n <= 1000; ++n) scratch::makeFolder(dir_ + "Full" + std::to_string(n));
  std::string folder;
  EXPECT_EQ(makeTempFolder("Full", folder), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(folder, dir_ + "Full");
}

TEST_F(FilesTest, TempFolderBelowAMissingTempGivesTheSystemsNumber) {
  const std::string missing = dir_ + "no\\such";
  const EnvOverride temp("TEMP", missing.c_str());
  std::string folder;
  EXPECT_EQ(makeTempFolder("KRX", folder), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(folder, missing + "\\KRX");
}

TEST_F(FilesTest, EmptyTempAndWindirFallBackToTheSystemsFolders) {
  const EnvOverride temp("TEMP", "");
  const EnvOverride tmp("TMP", dir_.c_str());  // GetTempPath's first choice
  const EnvOverride windir("WINDIR", "");
  std::string folder;
  ASSERT_EQ(makeTempFolder("KRX", folder), 0);
  EXPECT_EQ(folder, dir_ + "KRX1\\");
  char buffer[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
  EXPECT_EQ(getWindowsFolder(), withBackslash(std::string(buffer, n)));
}

// --- removing files --------------------------------------------------------

TEST_F(FilesTest, RemoveFileClearsAttributesAndIgnoresMissingFiles) {
  const std::string path = dir_ + "stubborn.txt";
  for (DWORD attrs : {DWORD{FILE_ATTRIBUTE_READONLY},
                      DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}}) {
    scratch::writeFile(path, "x");
    SetFileAttributesA(path.c_str(), attrs);
    EXPECT_EQ(removeFile(path), 0) << attrs;
    EXPECT_FALSE(scratch::fileExists(path)) << attrs;
  }
  EXPECT_EQ(removeFile(dir_ + "never-was.txt"), 0);
}

TEST_F(FilesTest, RemoveFileOfABusyFileIsFileBusy) {
  const std::string path = dir_ + "busy.txt";
  scratch::writeFile(path, "x");
  HeldFile held(path);
  ASSERT_TRUE(held.held());
  EXPECT_EQ(removeFile(path), err::FileBusy);
  EXPECT_TRUE(scratch::fileExists(path));
}

struct RetryCase {
  const char* name;
  const char* file;
  bool busy;
  int attempts;
  InstallError expected;
  bool remains;
};

const RetryCase kRetryCases[] = {
    {"BusySaver", "MySaver.scr", true, 1000, err::SaverBusy, true},
    {"BusySaverInCapitals", "MYSAVER.SCR", true, 1000, err::SaverBusy, true},
    {"BusyPackageCopy", "temp.dat", true, 100, err::FileBusy, true},
    {"BusyScrNotTheExtension", "saver.scr.txt", true, 3, err::FileBusy, true},
    {"ZeroAttemptsLeaveTheFile", "temp.dat", false, 0, err::GeneralFailure, true},
    {"NegativeAttemptsLeaveTheFile", "MySaver.scr", false, -5, err::GeneralFailure, true},
    {"FreeFileOneAttempt", "MySaver.scr", false, 1, err::Success, false},
};

class RemoveFileRetrying : public FilesTest, public testing::WithParamInterface<RetryCase> {};

TEST_P(RemoveFileRetrying, Case) {
  const RetryCase& c = GetParam();
  const std::string path = dir_ + c.file;
  scratch::writeFile(path, "x");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  if (c.busy) {
    HeldFile held(path);
    ASSERT_TRUE(held.held());
    EXPECT_EQ(removeFileRetrying(path, c.attempts), c.expected);
  } else {
    EXPECT_EQ(removeFileRetrying(path, c.attempts), c.expected);
  }
  EXPECT_EQ(scratch::fileExists(path), c.remains);
}

INSTANTIATE_TEST_SUITE_P(Files, RemoveFileRetrying, testing::ValuesIn(kRetryCases), CaseName());

// --- removing trees ---------------------------------------------------------

TEST_F(FilesTest, RemoveFolderTreeRemovesHiddenReadOnlyAndSystemEntries) {
  const std::string tree = dir_ + "tree\\";
  scratch::makeFolder(tree);
  scratch::makeFolder(tree + "sub");
  scratch::makeFolder(tree + "sub\\deeper");
  scratch::writeFile(tree + "plain.txt", "a");
  scratch::writeFile(tree + "secret.txt", "b");
  scratch::writeFile(tree + "sub\\deeper\\core.sys", "c");
  SetFileAttributesA((tree + "secret.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((tree + "sub\\deeper\\core.sys").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((tree + "sub").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((tree + "sub\\deeper").c_str(), FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(removeFolderTree(tree), 0);
  EXPECT_FALSE(scratch::folderExists(tree));
}

TEST_F(FilesTest, RemoveFolderTreeOfNothing) {
  EXPECT_EQ(removeFolderTree(dir_ + "absent\\"), 0);
  EXPECT_EQ(removeFolderTree(""), err::GeneralFailure);
}

TEST_F(FilesTest, RemoveFolderTreeWithABusyFile) {
  const std::string tree = dir_ + "tree\\";
  scratch::makeFolder(tree);
  scratch::writeFile(tree + "busy.txt", "x");
  HeldFile held(tree + "busy.txt");
  ASSERT_TRUE(held.held());
  EXPECT_EQ(removeFolderTree(tree), err::FileBusy);
  EXPECT_TRUE(scratch::fileExists(tree + "busy.txt"));
}

TEST_F(FilesTest, RemoveFolderTreeWithABusyFileInASubfolderIsGeneralFailure) {
  const std::string tree = dir_ + "tree\\";
  scratch::makeFolder(tree);
  scratch::makeFolder(tree + "a");
  scratch::makeFolder(tree + "z");
  scratch::writeFile(tree + "a\\busy.txt", "x");
  scratch::writeFile(tree + "z\\free.txt", "x");
  scratch::writeFile(tree + "top.txt", "x");
  HeldFile held(tree + "a\\busy.txt");
  ASSERT_TRUE(held.held());
  EXPECT_EQ(removeFolderTree(tree), err::GeneralFailure);
  EXPECT_TRUE(scratch::fileExists(tree + "a\\busy.txt"));
  // The listing goes on past the subfolder that stays.
  EXPECT_FALSE(scratch::fileExists(tree + "top.txt"));
  EXPECT_FALSE(scratch::folderExists(tree + "z"));
}

// --- copying and folders -----------------------------------------------------

TEST_F(FilesTest, CopyFileOverReplacesAProtectedTarget) {
  const std::string source = dir_ + "source.bin";
  const std::string target = dir_ + "target.bin";
  scratch::writeFile(source, "new contents");
  scratch::writeFile(target, "old");
  SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ASSERT_TRUE(copyFileOver(source, target));
  EXPECT_EQ(scratch::readFile(target), "new contents");
  const DWORD protectedBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  EXPECT_EQ(scratch::attributes(source) & protectedBits, 0u);
  EXPECT_EQ(scratch::attributes(target) & protectedBits, 0u);
}

TEST_F(FilesTest, CopyFileOverFromAMissingSource) {
  EXPECT_FALSE(copyFileOver(dir_ + "missing.bin", dir_ + "target.bin"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FilesTest, CreateFolderPathMakesEveryMissingParent) {
  createFolderPath(dir_ + "a\\b\\c\\");
  EXPECT_TRUE(scratch::folderExists(dir_ + "a\\b\\c"));
  createFolderPath(dir_ + "x\\y");
  EXPECT_TRUE(scratch::folderExists(dir_ + "x\\y"));
  createFolderPath(dir_ + "a\\b\\c\\");  // all there: nothing to do, nothing reported
}

TEST_F(FilesTest, CreateFolderPathStopsAtARootThatIsNotThere) {
  createFolderPath("Q:\\no\\such\\drive\\");
  EXPECT_FALSE(scratch::folderExists("Q:\\no"));
  // A relative path ends at its first part, below the current folder.
  char old[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, old);
  SetCurrentDirectoryA(dir_.c_str());
  createFolderPath("rel\\inner\\");
  SetCurrentDirectoryA(old);
  EXPECT_TRUE(scratch::folderExists(dir_ + "rel\\inner"));
}

TEST_F(FilesTest, ReadFileVersionTakesTheHighWords) {
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string helper(self, n);
  helper = helper.substr(0, helper.find_last_of('\\') + 1) + "file_locker.exe";  // version 7.0.19.0
  std::int32_t major = 0, release = 0;
  readFileVersion(helper, major, release);
  EXPECT_EQ(major, 7);
  EXPECT_EQ(release, 19);

  scratch::writeFile(dir_ + "plain.txt", "no resources here");
  major = -5;
  release = -6;
  readFileVersion(dir_ + "plain.txt", major, release);
  EXPECT_EQ(major, -5);
  EXPECT_EQ(release, -6);
  readFileVersion(dir_ + "missing.dll", major, release);
  EXPECT_EQ(major, -5);
}

// --- an earlier copy of the saver --------------------------------------------

// A saver of our own name in the real system and Windows folders, removed
// again whatever a test leaves.
class SaverTest : public FilesTest {
 protected:
  void SetUp() override {
    FilesTest::SetUp();
    ASSERT_EQ(prepareFolders(), 0);
    cleanUp();
  }
  void TearDown() override {
    cleanUp();
    scratch::removeAll(tempFolder());
    FilesTest::TearDown();
  }
  void cleanUp() {
    for (const std::string& folder : {systemFolder(), windowsFolder(), dir_}) {
      scratch::removeAll(folder + kName + ".scr");
      scratch::removeAll(folder + kName + " dir\\");
    }
  }
  void plantSaver(const std::string& folder) {
    scratch::writeFile(folder + kName + ".scr", "module");
    scratch::makeFolder(folder + kName + " dir");
    scratch::writeFile(folder + kName + " dir\\movie.swf", "movie");
    SetFileAttributesA((folder + kName + " dir\\movie.swf").c_str(), FILE_ATTRIBUTE_READONLY);
  }
  std::string module(const std::string& folder) const { return folder + kName + ".scr"; }
  std::string own(const std::string& folder) const { return folder + kName + " dir\\"; }

  const std::string question = " screen saver already exists. Overwrite?";
  static constexpr const char* kName = "ReaderTest Saver";
};

TEST_F(SaverTest, SaverExistsByModuleOrByFolder) {
  EXPECT_FALSE(saverExists(dir_, kName));
  scratch::writeFile(module(dir_), "m");
  EXPECT_TRUE(saverExists(dir_, kName));
  scratch::removeAll(module(dir_));
  scratch::makeFolder(own(dir_));
  EXPECT_TRUE(saverExists(dir_, kName));
}

TEST_F(SaverTest, OnlyInTheWindowsFolderStillAsksAndIsRemovedOnOk) {
  plantSaver(windowsFolder());
  dialogs::answerNext(ui::DialogResult::Ok);
  EXPECT_EQ(checkExistingSaver(systemFolder(), kName, true, question), 0);
  ASSERT_EQ(dialogs::shown().size(), 1u);
  EXPECT_EQ(dialogs::shown()[0].text, "ReaderTest Saver screen saver already exists. Overwrite?");
  EXPECT_EQ(dialogs::shown()[0].kind, ui::DialogKind::Confirmation);
  EXPECT_EQ(dialogs::shown()[0].buttons, ui::DialogButtons::OkCancel);
  EXPECT_FALSE(saverExists(windowsFolder(), kName));
  EXPECT_TRUE(scratch::folderExists(own(systemFolder())));
  EXPECT_FALSE(scratch::fileExists(module(systemFolder())));
}

TEST_F(SaverTest, CancelLeavesEverythingAsItWas) {
  plantSaver(systemFolder());
  plantSaver(windowsFolder());
  dialogs::answerNext(ui::DialogResult::Cancel);
  EXPECT_EQ(checkExistingSaver(systemFolder(), kName, true, question), err::UserAbort);
  EXPECT_TRUE(scratch::fileExists(module(systemFolder())));
  EXPECT_TRUE(scratch::fileExists(own(systemFolder()) + "movie.swf"));
  EXPECT_TRUE(scratch::fileExists(module(windowsFolder())));
}

TEST_F(SaverTest, WithoutAskingTheOldCopyIsReplacedByAnEmptyFolder) {
  plantSaver(systemFolder());
  EXPECT_EQ(checkExistingSaver(systemFolder(), kName, false, ""), 0);
  EXPECT_TRUE(dialogs::shown().empty());
  EXPECT_FALSE(scratch::fileExists(module(systemFolder())));
  EXPECT_TRUE(scratch::folderExists(own(systemFolder())));
  EXPECT_FALSE(scratch::fileExists(own(systemFolder()) + "movie.swf"));
}

TEST_F(SaverTest, NoEarlierCopyNoQuestion) {
  EXPECT_EQ(checkExistingSaver(systemFolder(), kName, true, question), 0);
  EXPECT_TRUE(dialogs::shown().empty());
  EXPECT_TRUE(scratch::folderExists(own(systemFolder())));
}

TEST_F(SaverTest, ABusyOldModuleStaysWithoutAnError) {
  plantSaver(dir_);
  HeldFile held(module(dir_));
  ASSERT_TRUE(held.held());
  EXPECT_EQ(checkExistingSaver(dir_, kName, false, ""), 0);
  EXPECT_TRUE(scratch::fileExists(module(dir_)));
  EXPECT_TRUE(scratch::folderExists(own(dir_)));
  EXPECT_EQ(removeSaver(dir_, kName), err::Success);  // the folder goes; the module result is overwritten
  EXPECT_TRUE(scratch::fileExists(module(dir_)));
}

TEST_F(SaverTest, CreateSaverFolder) {
  EXPECT_EQ(createSaverFolder(dir_, kName), 0);
  EXPECT_EQ(createSaverFolder(dir_, kName), 0);  // exists already
  EXPECT_EQ(createSaverFolder(dir_ + "missing\\", kName), ERROR_PATH_NOT_FOUND);
  const std::string longName(64, 'L');
  EXPECT_EQ(createSaverFolder(dir_, longName), 0);
  EXPECT_TRUE(scratch::folderExists(dir_ + longName + " dir"));
}
}  // namespace
