// The package reader and the entry extraction on real packages under Wine.
#include <gtest/gtest.h>

#include <cstring>

#include "installer/run_flags.h"
#include "installer/window_state.h"
#include "package/entry_extraction.h"
#include "package/package_reader.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "system/win_file.h"
#include "tests/files/dialog_recorder.h"
#include "tests/files/held_file.h"
#include "tests/files/package_fixture.h"
#include "tests/files/scratch.h"
#include "tests/support/case_name.h"

namespace {
std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The report reportFileError shows for codes without a text of their own.
std::string fileReport(const std::string& file) {
  return "Installation Error: " + file + "\r\n\r\nProblem with file " + file + ". ";
}

void expectOneReport(const std::string& message) {
  ASSERT_EQ(dialogs::shown().size(), 1u);
  EXPECT_EQ(dialogs::shown()[0].text, message);
  EXPECT_EQ(dialogs::shown()[0].kind, ui::DialogKind::Error);
  EXPECT_EQ(dialogs::shown()[0].buttons, ui::DialogButtons::Abort);
}

using ReaderTest = PackageTest;

// --- start-up reading -------------------------------------------------------

TEST_F(ReaderTest, StartUpReadsTheDirectoryAndWritesTheCompressor) {
  const TestPackage package = samplePackage(kSaverName);
  PackageDirectory written;
  const Bytes bytes = package.build(&written);
  writeInstaller(bytes);
  SetFileAttributesA(exePath().c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(packageState().packageCopyPath, tempFolder() + "temp.dat");
  ASSERT_EQ(copyInstallerToTemp(), 0);
  EXPECT_EQ(scratch::readFile(tempFolder() + "temp.dat"), text(bytes));
  ASSERT_EQ(readPackageDirectory(), 0);
  EXPECT_EQ(std::memcmp(&packageState().packageDirectory, &written, sizeof written), 0);
  EXPECT_EQ(scratch::readFile(tempFolder() + "impborl.dll"), text(compressorLibrary()));
  EXPECT_TRUE(dialogs::shown().empty());
  EXPECT_TRUE(feedback.events.empty());  // slot 1 is written without status

  setSaverPaths();
  EXPECT_EQ(packageState().saverName, kSaverName);
  EXPECT_EQ(packageState().installFolder, systemFolder() + "ReaderTest Saver dir\\");
  EXPECT_EQ(packageState().dataFileTempPath, tempFolder() + "ReaderTest Saver.ssd");
}

TEST_F(ReaderTest, SetInstallerPathsTakesTheRunningProgram) {
  setInstallerPaths();
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  EXPECT_EQ(packageState().exePath, std::string(self, n));
}

TEST_F(ReaderTest, SaverNameOfSixtyFourCharactersHasNoTerminator) {
  TestPackage package = samplePackage(kSaverName);
  package.slots[Slot::DataFile].reset();
  const std::string longName = "ReaderTest" + std::string(54, 'N');
  ASSERT_TRUE(setSaverName(package.header, longName));
  ASSERT_EQ(startWith(package), 0);
  EXPECT_EQ(packageState().saverName, longName);
  EXPECT_EQ(packageState().installFolder, systemFolder() + longName + " dir\\");
  EXPECT_TRUE(scratch::folderExists(packageState().installFolder));
  EXPECT_EQ(packageState().dataFileTempPath, tempFolder());  // slot 8 empty
  scratch::removeAll(packageState().installFolder);
}

TEST_F(ReaderTest, ABusyOldCopyIsReportedAsTheSelfCopyFailing) {
  writeInstaller(samplePackage(kSaverName).build());
  scratch::writeFile(tempFolder() + "temp.dat", "old");
  {
    HeldFile held(tempFolder() + "temp.dat");
    ASSERT_TRUE(held.held());
    EXPECT_EQ(copyInstallerToTemp(), err::FileBusy);
  }
  const std::string copy = tempFolder() + "temp.dat";
  expectOneReport("Installation Error: " + copy +
                  "\r\n\r\nPlease retry installation. If this message appears again, the installation cannot be "
                  "completed because your user account has limited installation privileges. To complete this "
                  "installation, login with administrative privileges and rerun this installer.");
}

TEST_F(ReaderTest, AMissingInstallerGivesTheSystemsNumber) {
  setInstallerPaths();
  packageState().exePath = scratch::tempBase() + "no such setup.exe";
  EXPECT_EQ(copyInstallerToTemp(), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(dialogs::shown().size(), 1u);
  EXPECT_EQ(dialogs::shown()[0].text.rfind("Installation Error: " + tempFolder() + "temp.dat\r\n\r\nPlease retry", 0),
            0u);
}

TEST_F(ReaderTest, AnInstallerWithoutAPackageIsHeaderReadShort) {
  Bytes bytes(static_cast<std::size_t>(packageOffset) + kPackageDirectorySize - 1, 0);
  writeInstaller(bytes);
  ASSERT_EQ(copyInstallerToTemp(), 0);
  EXPECT_EQ(readPackageDirectory(), err::HeaderReadShort);
  expectOneReport(fileReport(tempFolder() + "temp.dat"));
}

TEST_F(ReaderTest, APackageCopyThatCannotBeOpenedIsReported) {
  setInstallerPaths();
  EXPECT_EQ(readPackageDirectory(), ERROR_FILE_NOT_FOUND);
  expectOneReport(fileReport(tempFolder() + "temp.dat"));
}

TEST_F(ReaderTest, AnEmptyCompressorSlotIsEmptySlotWithAnEmptyFileName) {
  TestPackage package = samplePackage(kSaverName);
  package.slots[Slot::Compressor].reset();
  EXPECT_EQ(startWith(package), err::EmptySlot);
  expectOneReport("Installation Error: \r\n\r\nProblem with file . ");
  EXPECT_FALSE(scratch::fileExists(tempFolder() + "impborl.dll"));
}

TEST_F(ReaderTest, ABusyCompressorLibraryCountsAsExtracted) {
  scratch::writeFile(tempFolder() + "impborl.dll", "the library already there");
  {
    HeldFile held(tempFolder() + "impborl.dll");
    ASSERT_TRUE(held.held());
    EXPECT_EQ(startWith(samplePackage(kSaverName)), 0);
  }
  EXPECT_TRUE(dialogs::shown().empty());
  EXPECT_EQ(scratch::readFile(tempFolder() + "impborl.dll"), "the library already there");
}

TEST_F(ReaderTest, ACompressedCompressorSlotCannotBeExpanded) {
  TestPackage package = samplePackage(kSaverName);
  package.slots[Slot::Compressor]->compress = true;
  EXPECT_EQ(startWith(package), err::CompressorUnavailable);
  expectOneReport(fileReport(tempFolder() + "impborl.dll"));
}

// --- where entries go ----------------------------------------------------------

struct KindCase {
  const char* name;
  std::int32_t kind;
  const char* stored;
  const char* folder;  // "install", "system", "temp" or "" for none
  const char* written;
};

const KindCase kKindCases[] = {
    {"Kind1InstallFolder", 1, "ReaderTest one.txt", "install", "ReaderTest one.txt"},
    {"Kind5InstallFolder", 5, "ReaderTest five.scf", "install", "ReaderTest five.scf"},
    {"Kind6InstallFolder", 6, "ReaderTest six.exe", "install", "ReaderTest six.exe"},
    {"Kind10InstallFolder", 10, "ReaderTest ten.bin", "install", "ReaderTest ten.bin"},
    {"Kind2SystemFolder", 2, "ReaderTest two.scr", "system", "ReaderTest two.scr"},
    {"Kind3PlayerInstaller", 3, "flashax7.exe", "temp", "flashax7.exe"},
    {"Kind3PlayerPackage", 3, "install_flash_player_active_x.msi", "temp", "install_flash_player_active_x.msi"},
    {"Kind3PlayerNameInCapitals", 3, "ReaderTest FLASHAX7.exe", "system", "ReaderTest FLASHAX7.dll"},
    {"Kind3OtherBecomesDll", 3, "ReaderTest control.ocx", "system", "ReaderTest control.dll"},
    {"Kind3WithoutExtension", 3, "ReaderTest control", "system", "ReaderTest control.dll"},
    {"Kind4CompressorRenamed", 4, "impborl.dat", "temp", "impborl.dll"},
    {"Kind4OtherCaseKeepsItsName", 4, "IMPBORL.DAT", "temp", "IMPBORL.DAT"},
    {"Kind7Temp", 7, "installer.swf", "temp", "installer.swf"},
    {"Kind0NoFolder", 0, "nowhere.bin", "", ""},
    {"Kind8NoFolder", 8, "nowhere.bin", "", ""},
    {"Kind9NoFolder", 9, "nowhere.bin", "", ""},
    {"Kind11NoFolder", 11, "nowhere.bin", "", ""},
};

class EntryKinds : public PackageTest, public testing::WithParamInterface<KindCase> {};

TEST_P(EntryKinds, Case) {
  const KindCase& c = GetParam();
  TestPackage package = samplePackage(kSaverName);
  const Bytes contents = sampleBytes(1234, 9);
  package.slots[Slot::SaverMovie] = TestEntry{c.stored, c.kind, contents};
  ASSERT_EQ(startWith(package), 0);
  WinFile file;
  ASSERT_EQ(file.openRead(packageState().packageCopyPath), 0);
  const InstallError result = extractEntry(file, Slot::SaverMovie, false);
  const std::string folder = std::string(c.folder) == "install" ? installFolder()
                             : std::string(c.folder) == "system" ? systemFolder()
                                                                  : tempFolder();
  if (*c.folder == '\0') {
    EXPECT_EQ(result, err::EntryKindInvalid);
    expectOneReport(fileReport(c.stored));
    return;
  }
  EXPECT_EQ(result, 0);
  EXPECT_EQ(scratch::readFile(folder + c.written), text(contents));
  EXPECT_TRUE(dialogs::shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Files, EntryKinds, testing::ValuesIn(kKindCases), CaseName());

// --- one entry, its faults --------------------------------------------------------

class ExtractTest : public PackageTest {
 protected:
  // Extracts slot 7 (kind 5, the install folder) or 9 (a ".dll") of a
  // package whose directory or length `change` may damage.
  InstallError extract(int slot, const std::function<void(PackageDirectory&, Bytes&)>& change = {}) {
    TestPackage package = samplePackage(kSaverName);
    PackageDirectory dir;
    Bytes bytes = package.build(&dir);
    if (change) change(dir, bytes);
    writeDirectory(bytes, dir);
    writeInstaller(bytes);
    EXPECT_EQ(copyInstallerToTemp(), 0);
    EXPECT_EQ(readPackageDirectory(), 0);
    setSaverPaths();
    EXPECT_EQ(createSaverFolder(systemFolder(), kSaverName), 0);
    WinFile file;
    EXPECT_EQ(file.openRead(packageState().packageCopyPath), 0);
    return extractEntry(file, slot, false);
  }
};

TEST_F(ExtractTest, PlainAndCompressedEntriesAreWrittenWhole) {
  const TestPackage package = samplePackage(kSaverName);
  EXPECT_EQ(extract(Slot::SaverMovie), 0);  // compressed
  EXPECT_EQ(scratch::readFile(installFolder() + "movie.scf"), text(package.slots[Slot::SaverMovie]->bytes));
  EXPECT_EQ(extract(Slot::Support1), 0);  // plain
  EXPECT_EQ(scratch::readFile(installFolder() + "saver1.dll"), text(package.slots[Slot::Support1]->bytes));
  EXPECT_TRUE(dialogs::shown().empty());
}

TEST_F(ExtractTest, ASizeMismatchKeepsTheFile) {
  EXPECT_EQ(extract(Slot::SaverMovie, [](PackageDirectory& d, Bytes&) { d.entries[Slot::SaverMovie].size += 1; }),
            err::SizeMismatch);
  EXPECT_TRUE(dialogs::shown().empty());  // not a ".dll": returned, not reported
  EXPECT_EQ(scratch::readFile(installFolder() + "movie.scf").size(), 20000u);
}

TEST_F(ExtractTest, ASizeMismatchOfALibraryIsReported) {
  EXPECT_EQ(extract(Slot::Support2, [](PackageDirectory& d, Bytes&) { d.entries[Slot::Support2].size -= 1; }),
            err::SizeMismatch);
  expectOneReport(fileReport(installFolder() + "saver2.dll"));
  EXPECT_TRUE(scratch::fileExists(installFolder() + "saver2.dll"));
}

struct DamageCase {
  const char* name;
  int slot;
  std::function<void(PackageEntry&, Bytes&)> damage;
  InstallError expected;
};

// A download that ends inside the entry.
void cutInside(PackageEntry& e, Bytes& package) { package.resize(static_cast<std::size_t>(e.end)); }

const DamageCase kDamageCases[] = {
    {"PlainCutShort", Slot::Support1, cutInside, err::ReadShort},
    {"CompressedCutShort", Slot::SaverMovie, cutInside, err::ReadShort},
    {"HugeCompressedLength", Slot::SaverMovie, [](PackageEntry& e, Bytes&) { e.end = 0x7FFFFFF0; }, err::ReadShort},
    {"HugePlainLength", Slot::Support1, [](PackageEntry& e, Bytes&) { e.end = 0x7FFFFFF0; }, err::ReadShort},
    {"StartBeyondTheFile", Slot::Support1,
     [](PackageEntry& e, Bytes&) {
       e.start = 0x10000000;
       e.end = 0x10000010;
     },
     err::ReadShort},
    {"NegativeStart", Slot::Support1, [](PackageEntry& e, Bytes&) { e.start = -100; }, err::ReadShort},
    {"EndBeforeStart", Slot::Support1, [](PackageEntry& e, Bytes&) { e.end = e.start - 1; }, err::OutOfMemory},
    {"EndFarBeforeStart", Slot::SaverMovie, [](PackageEntry& e, Bytes&) { e.end = -0x7FFFFFFF; }, err::OutOfMemory},
};

class DamagedEntries : public ExtractTest, public testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedEntries, Case) {
  const DamageCase& c = GetParam();
  const auto damage = [&](PackageDirectory& d, Bytes& b) { c.damage(d.entries[static_cast<std::size_t>(c.slot)], b); };
  EXPECT_EQ(extract(c.slot, damage), c.expected);
  // Slot 9 is a ".dll" and reported; slot 7 is not.
  EXPECT_EQ(dialogs::shown().size(), c.slot == Slot::Support1 ? 1u : 0u);
  // Damage is found before anything is written.
  const std::string target = c.slot == Slot::Support1 ? "saver1.dll" : "movie.scf";
  EXPECT_FALSE(scratch::fileExists(installFolder() + target));
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedEntries, testing::ValuesIn(kDamageCases), CaseName());

TEST_F(ExtractTest, WithoutTheCompressorLibrary) {
  TestPackage package = samplePackage(kSaverName);
  ASSERT_EQ(startWith(package), 0);
  scratch::removeAll(tempFolder() + "impborl.dll");
  WinFile file;
  ASSERT_EQ(file.openRead(packageState().packageCopyPath), 0);
  EXPECT_EQ(extractEntry(file, Slot::SaverMovie, false), err::CompressorUnavailable);
  EXPECT_EQ(extractEntry(file, Slot::Support2, false), err::CompressorUnavailable);
  expectOneReport(fileReport(installFolder() + "saver2.dll"));
  EXPECT_EQ(extractEntry(file, Slot::Support1, false), 0);  // plain entries need no library
}

TEST_F(ExtractTest, ABusyScreenSaverCannotBeReplaced) {
  const std::string module = systemFolder() + kSaverName + ".scr";
  scratch::writeFile(module, "the old module");
  {
    HeldFile held(module);
    ASSERT_TRUE(held.held());
    EXPECT_EQ(extract(Slot::Module), err::SaverBusy);
  }
  EXPECT_TRUE(dialogs::shown().empty());
  EXPECT_EQ(scratch::readFile(module), "the old module");
}

TEST_F(ExtractTest, ABusyOtherFileStaysAndCountsAsWritten) {
  createSaverFolder(systemFolder(), kSaverName);
  scratch::writeFile(installFolder() + "movie.scf", "old movie");
  {
    HeldFile held(installFolder() + "movie.scf");
    ASSERT_TRUE(held.held());
    EXPECT_EQ(extract(Slot::SaverMovie), 0);
  }
  EXPECT_EQ(scratch::readFile(installFolder() + "movie.scf"), "old movie");
  EXPECT_TRUE(dialogs::shown().empty());
}

TEST_F(ExtractTest, ATargetThatCannotBeCreatedIsReportedWithTheSystemsNumber) {
  for (int slot : {Slot::SaverMovie, Slot::Support1}) {
    dialogs::reset();
    EXPECT_EQ(extract(slot, [](PackageDirectory& d, Bytes&) { setSaverName(d.header, "ReaderTest Absent"); }),
              ERROR_PATH_NOT_FOUND)
        << slot;
    const std::string name = entryNameOf(packageState().packageDirectory.entries[static_cast<std::size_t>(slot)]);
    expectOneReport(fileReport(systemFolder() + "ReaderTest Absent dir\\" + name));
  }
}

// --- the start-up extractors ---------------------------------------------------

struct PictureCase {
  const char* name;
  std::uint8_t mode;
  const char* stored;
  const char* written;
};

const PictureCase kPictureCases[] = {
    {"BitmapModeTakesBMP", InstallMode::Bitmap, "installer.bmp", "installer.BMP"},
    {"JpegModeTakesJpg", InstallMode::Jpeg, "installer.bmp", "installer.jpg"},
    {"JpegModeWithoutExtension", InstallMode::Jpeg, "installer", "installer.jpg"},
    {"MovieModeKeepsTheName", InstallMode::Movie, "installer.swf", "installer.swf"},
};

class InstallerPicture : public PackageTest, public testing::WithParamInterface<PictureCase> {};

TEST_P(InstallerPicture, Case) {
  const PictureCase& c = GetParam();
  TestPackage package = samplePackage(kSaverName);
  package.header.installMode = c.mode;
  package.slots[Slot::Picture]->name = c.stored;
  ASSERT_EQ(startWith(package), 0);
  EXPECT_EQ(extractInstallerPicture(), 0);
  EXPECT_EQ(entryNameOf(packageState().packageDirectory.entries[Slot::Picture]), c.written);
  EXPECT_EQ(scratch::readFile(tempFolder() + c.written), text(package.slots[Slot::Picture]->bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, InstallerPicture, testing::ValuesIn(kPictureCases), CaseName());

TEST_F(PackageTest, StartUpExtractorsOfEmptySlotsSayEmptySlotQuietly) {
  ASSERT_EQ(startWith(samplePackage(kSaverName)), 0);
  EXPECT_EQ(extractReadMe(), err::EmptySlot);
  EXPECT_EQ(extractLicenseText(), err::EmptySlot);
  EXPECT_EQ(extractFlashInstaller(), err::EmptySlot);
  packageState().packageDirectory.entries[Slot::Picture] = PackageEntry{};
  EXPECT_EQ(extractInstallerPicture(), err::EmptySlot);
  EXPECT_TRUE(dialogs::shown().empty());
}

TEST_F(PackageTest, StartUpExtractorsWriteTheirSlotsToTheWorkingFolder) {
  TestPackage package = samplePackage(kSaverName);
  package.slots[Slot::FlashInstaller] = TestEntry{"flashax7.exe", EntryKind::Library, sampleBytes(4000, 11), true};
  package.slots[Slot::License] = TestEntry{"license.txt", EntryKind::Temp, bytesOf("Accept this.")};
  package.slots[Slot::ReadMe] = TestEntry{"readme.txt", EntryKind::Temp, bytesOf("Read this.")};
  ASSERT_EQ(startWith(package), 0);
  EXPECT_EQ(extractReadMe(), 0);
  EXPECT_EQ(extractFlashInstaller(), 0);
  EXPECT_EQ(extractLicenseText(), 0);
  EXPECT_EQ(scratch::readFile(tempFolder() + "readme.txt"), "Read this.");
  EXPECT_EQ(scratch::readFile(tempFolder() + "license.txt"), "Accept this.");
  EXPECT_EQ(scratch::readFile(tempFolder() + "flashax7.exe"), text(package.slots[Slot::FlashInstaller]->bytes));
  EXPECT_TRUE(feedback.events.empty());
}

// --- the installation's entries ------------------------------------------------

class InstallEntries : public PackageTest {
 protected:
  TestPackage withReadMe() {
    TestPackage package = samplePackage(kSaverName);
    package.header.hasReadMe = 1;
    package.slots[Slot::ReadMe] = TestEntry{"readme.txt", EntryKind::Temp, bytesOf("Read this.")};
    return package;
  }
  std::vector<std::string> stepsFor(int entries) {
    std::vector<std::string> events;
    for (int i = 0; i < entries; ++i) {
      events.push_back("status:Writing screen saver files...");
      events.push_back("step");
    }
    return events;
  }
};

TEST_F(InstallEntries, WithTheReadMeFlagSlotsFiveToTen) {
  const TestPackage package = withReadMe();
  ASSERT_EQ(startWith(package), 0);
  installerWindowState().hasReadMe = true;
  EXPECT_EQ(extractInstallEntries(packageState().packageCopyPath), 0);
  EXPECT_EQ(feedback.events, stepsFor(6));
  EXPECT_EQ(scratch::readFile(tempFolder() + "readme.txt"), "Read this.");
  EXPECT_EQ(scratch::readFile(systemFolder() + "ReaderTest Saver.scr"), text(package.slots[Slot::Module]->bytes));
  EXPECT_EQ(scratch::readFile(installFolder() + "movie.scf"), text(package.slots[Slot::SaverMovie]->bytes));
  EXPECT_TRUE(scratch::fileExists(tempFolder() + "ReaderTest Saver.ssd"));
  EXPECT_EQ(scratch::readFile(installFolder() + "saver2.dll"), text(package.slots[Slot::Support2]->bytes));
  EXPECT_TRUE(dialogs::shown().empty());
}

TEST_F(InstallEntries, WithoutTheReadMeFlagSlotFiveIsNotTouched) {
  ASSERT_EQ(startWith(withReadMe()), 0);
  EXPECT_EQ(extractInstallEntries(packageState().packageCopyPath), 0);
  EXPECT_EQ(feedback.events, stepsFor(5));
  EXPECT_FALSE(scratch::fileExists(tempFolder() + "readme.txt"));
}

TEST_F(InstallEntries, AnEmptySlotStopsTheLoop) {
  TestPackage package = samplePackage(kSaverName);
  package.slots[Slot::SaverMovie].reset();
  ASSERT_EQ(startWith(package), 0);
  EXPECT_EQ(extractInstallEntries(packageState().packageCopyPath), err::EmptySlot);
  expectOneReport("Installation Error: \r\n\r\nProblem with file . ");
  EXPECT_TRUE(scratch::fileExists(systemFolder() + "ReaderTest Saver.scr"));
  EXPECT_FALSE(scratch::fileExists(tempFolder() + "ReaderTest Saver.ssd"));
}

TEST_F(InstallEntries, ACancelDuringSlotSevenLetsItFinish) {
  const TestPackage package = samplePackage(kSaverName);
  ASSERT_EQ(startWith(package), 0);
  int steps = 0;
  feedback.onStep = [&] {
    if (++steps == 2) runFlags().cancelRequested = true;  // while slot 7 is written
  };
  EXPECT_EQ(extractInstallEntries(packageState().packageCopyPath), 0);
  EXPECT_EQ(scratch::readFile(installFolder() + "movie.scf"), text(package.slots[Slot::SaverMovie]->bytes));
  EXPECT_FALSE(scratch::fileExists(tempFolder() + "ReaderTest Saver.ssd"));
  EXPECT_FALSE(scratch::fileExists(installFolder() + "saver1.dll"));
}

TEST_F(InstallEntries, APackageThatCannotBeOpenedIsReported) {
  ASSERT_EQ(startWith(samplePackage(kSaverName)), 0);
  const std::string missing = tempFolder() + "gone.dat";
  EXPECT_EQ(extractInstallEntries(missing), ERROR_FILE_NOT_FOUND);
  expectOneReport(fileReport(missing));
}

// --- documents beside the saver ------------------------------------------------

class Documents : public PackageTest {
 protected:
  void SetUp() override {
    PackageTest::SetUp();
    TestPackage package = samplePackage(kSaverName);
    package.slots[Slot::License] = TestEntry{"license.txt", EntryKind::Temp, bytesOf("Accept this.")};
    package.slots[Slot::ReadMe] = TestEntry{"readme.txt", EntryKind::Temp, bytesOf("Read this.")};
    ASSERT_EQ(startWith(package), 0);
    installerWindowState().showLicense = true;
    installerWindowState().hasReadMe = true;
  }
};

TEST_F(Documents, BothAreCopiedBesideTheSaver) {
  ASSERT_EQ(extractLicenseText(), 0);
  ASSERT_EQ(extractReadMe(), 0);
  EXPECT_EQ(copyDocuments(), 0);
  EXPECT_EQ(scratch::readFile(installFolder() + "license.txt"), "Accept this.");
  EXPECT_EQ(scratch::readFile(installFolder() + "readme.txt"), "Read this.");
}

TEST_F(Documents, AMissingLicenceIsFileNotFoundButTheReadMeIsStillCopied) {
  ASSERT_EQ(extractReadMe(), 0);
  EXPECT_EQ(copyDocuments(), err::FileNotFound);
  EXPECT_EQ(scratch::readFile(installFolder() + "readme.txt"), "Read this.");
}

TEST_F(Documents, AMissingReadMeIsFileNotFound) {
  ASSERT_EQ(extractLicenseText(), 0);
  EXPECT_EQ(copyDocuments(), err::FileNotFound);
  EXPECT_TRUE(scratch::fileExists(installFolder() + "license.txt"));
}

TEST_F(Documents, ClearFlagsCopyNothing) {
  installerWindowState().showLicense = false;
  installerWindowState().hasReadMe = false;
  EXPECT_EQ(copyDocuments(), 0);
  EXPECT_FALSE(scratch::fileExists(installFolder() + "license.txt"));
}

TEST_F(Documents, AFailedCopyGivesTheSystemsNumber) {
  ASSERT_EQ(extractLicenseText(), 0);
  ASSERT_EQ(extractReadMe(), 0);
  scratch::removeAll(installFolder());
  EXPECT_EQ(copyDocuments(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(dialogs::shown().empty());
}
}  // namespace
