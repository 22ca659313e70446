// The screen-saver data file: its settings, its directory and its files,
// expanded into the real install folder under Wine.
#include <gtest/gtest.h>

#include <cstring>

#include "installer/messages.h"
#include "installer/window_state.h"
#include "package/data_file.h"
#include "package/entry_extraction.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "tests/files/dialog_recorder.h"
#include "tests/files/package_fixture.h"
#include "tests/files/scratch.h"
#include "tests/support/case_name.h"

namespace {
std::string text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

void put32(Bytes& bytes, std::size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

const std::string kReadProblem = "Velmora Error: Problem reading screen saver data file. ";

class DataFileTest : public PackageTest {
 protected:
  // Starts with a package and puts the data file where slot 8 is extracted.
  void SetUp() override {
    PackageTest::SetUp();
    ASSERT_EQ(startWith(samplePackage(kSaverName)), 0);
  }
  void useDataFile(const Bytes& bytes) { scratch::writeFile(packageState().dataFileTempPath, bytes); }
  // What the installation does with it: settings, expansion, "saver.dat".
  InstallError install() {
    InstallError result = readSaverSettings();
    if (result == 0) result = expandDataFile();
    if (result == 0) result = writeSaverSettings();
    return result;
  }
  std::vector<std::string> dialogTexts() const {
    std::vector<std::string> texts;
    for (const RecordedDialog& d : dialogs::shown()) texts.push_back(d.text);
    return texts;
  }
};

TEST_F(DataFileTest, PlainCompressedAliasSubFolderAndEmptyEntries) {
  const Bytes movie = sampleBytes(30000, 3);
  const Bytes settings = sampleBytes(500, 4);
  const BuiltDataFile data = buildDataFile({
      {"main.swf", movie, true},
      {"copy of main.swf", {}, false, true},
      {"copies\\again\\main.swf", {}, false, true},  // an alias gets its folder too
      {"config\\deep\\settings.ini", settings},
      {"nothing.txt", {}},  // expanded size 0: no file
      {"", sampleBytes(10)},  // an unnamed entry is skipped
      {"pictures/photo.bmp", sampleBytes(2000, 5), true},
  });
  useDataFile(data.bytes);
  ASSERT_EQ(install(), 0);
  EXPECT_TRUE(dialogs::shown().empty()) << dialogTexts()[0];
  EXPECT_EQ(scratch::readFile(installFolder() + "main.swf"), text(movie));
  EXPECT_EQ(scratch::readFile(installFolder() + "copy of main.swf"), text(movie));
  EXPECT_EQ(scratch::readFile(installFolder() + "copies\\again\\main.swf"), text(movie));
  EXPECT_EQ(scratch::readFile(installFolder() + "config\\deep\\settings.ini"), text(settings));
  EXPECT_FALSE(scratch::fileExists(installFolder() + "nothing.txt"));
  EXPECT_EQ(scratch::readFile(installFolder() + "pictures\\photo.bmp"), text(sampleBytes(2000, 5)));
  EXPECT_EQ(scratch::readFile(installFolder() + "saver.dat"),
            text(Bytes(data.bytes.begin(), data.bytes.begin() + kSaverSettingsSize)));
  EXPECT_NE(scratch::attributes(installFolder() + "main.swf") & FILE_ATTRIBUTE_ARCHIVE, 0u);
  EXPECT_FALSE(dataFileOpen());
  EXPECT_EQ(feedback.events,
            (std::vector<std::string>{"status:Expanding files...", "step", "status:Writing saver data file..."}));
  // Closed again: the run can delete its temporary copy.
  EXPECT_EQ(removeFile(packageState().dataFileTempPath), 0);
}

TEST_F(DataFileTest, MainMovieFromTheInstallersMovie) {
  const Bytes installerMovie = bytesOf("the movie the installer window played");
  scratch::writeFile(tempFolder() + "installer.swf", installerMovie);
  useDataFile(buildDataFile({{"main.swf", bytesOf("not used")}, {"alias.swf", {}, false, true}},
                            kMainMovieFromInstaller)
                  .bytes);
  ASSERT_EQ(install(), 0);
  EXPECT_EQ(scratch::readFile(installFolder() + "main.swf"), text(installerMovie));
  EXPECT_EQ(scratch::readFile(installFolder() + "alias.swf"), text(installerMovie));
  EXPECT_EQ(dataFileEntry(1).type, kAliasEntryType);
}

TEST_F(DataFileTest, MainMovieFromTheInstallerWithoutItsMovie) {
  useDataFile(buildDataFile({{"main.swf", bytesOf("not used")}}, kMainMovieFromInstaller).bytes);
  EXPECT_EQ(install(), err::MovieCopyFailed);
  const std::string source = tempFolder() + "installer.swf";
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{composeFileErrorMessage(err::MovieCopyFailed, source)}));
  EXPECT_TRUE(dataFileOpen());  // a failed expansion leaves it open
  EXPECT_FALSE(scratch::fileExists(installFolder() + "saver.dat"));
}

TEST_F(DataFileTest, AnAliasOfItselfIsNoError) {
  useDataFile(buildDataFile({{"main.swf", bytesOf("movie")}, {"main.swf", {}, false, true}}).bytes);
  EXPECT_EQ(install(), 0);
  EXPECT_EQ(scratch::readFile(installFolder() + "main.swf"), "movie");
}

TEST_F(DataFileTest, ACompressedFileOfTheWrongLengthIsDeleted) {
  BuiltDataFile data = buildDataFile({{"first.txt", bytesOf("kept")}, {"main.swf", sampleBytes(5000), true}});
  put32(data.bytes, data.chunkOffsets[1] + 8, 5001);  // expanded size
  useDataFile(data.bytes);
  EXPECT_EQ(install(), err::SizeMismatch);
  EXPECT_FALSE(scratch::fileExists(installFolder() + "main.swf"));
  EXPECT_EQ(scratch::readFile(installFolder() + "first.txt"), "kept");
  EXPECT_TRUE(dialogs::shown().empty());
}

TEST_F(DataFileTest, WithoutTheCompressorLibrary) {
  useDataFile(buildDataFile({{"main.swf", sampleBytes(5000), true}}).bytes);
  scratch::removeAll(tempFolder() + "impborl.dll");
  EXPECT_EQ(install(), err::CompressorUnavailable);
  EXPECT_FALSE(scratch::fileExists(installFolder() + "main.swf"));
}

TEST_F(DataFileTest, ASecondOpenSaysInUseAndReadsNothing) {
  useDataFile(buildDataFile({{"main.swf", bytesOf("movie")}}).bytes);
  ASSERT_EQ(openDataFile(packageState().dataFileTempPath, true), 0);
  setEntryCount(installerWindowState().saverSettings, 0);
  EXPECT_EQ(openDataFile(packageState().dataFileTempPath, true), 0);
  ASSERT_EQ(dialogs::shown().size(), 1u);
  EXPECT_EQ(dialogs::shown()[0].text, "Velmora Error: Screen saver data file already in use.");
  EXPECT_EQ(dialogs::shown()[0].kind, ui::DialogKind::Information);
  EXPECT_EQ(dialogs::shown()[0].buttons, ui::DialogButtons::Abort);
  EXPECT_EQ(entryCountOf(installerWindowState().saverSettings), 0);
  EXPECT_EQ(closeDataFile(), 0);
  EXPECT_EQ(closeDataFile(), 0);
}

TEST_F(DataFileTest, EntryNumbersOutOfRangeAndAClosedFile) {
  useDataFile(buildDataFile({{"main.swf", bytesOf("movie")}}).bytes);
  ASSERT_EQ(readSaverSettings(), 0);
  EXPECT_EQ(expandDataFileEntry(installFolder(), 1), err::DataFileNotOpen);
  ASSERT_EQ(openDataFile(packageState().dataFileTempPath, true), 0);
  EXPECT_EQ(expandDataFileEntry(installFolder(), 2), err::EntryOutOfRange);
  EXPECT_EQ(expandDataFileEntry(installFolder(), 0), err::EntryOutOfRange);
  EXPECT_EQ(expandDataFileEntry(installFolder(), -1), err::EntryOutOfRange);
  EXPECT_EQ(expandDataFileEntry(installFolder(), 1), 0);
  EXPECT_EQ(scratch::readFile(installFolder() + "main.swf"), "movie");
}

// --- names from the file that would leave the install folder --------------------

struct UnsafeNameCase {
  const char* name;
  const char* entryName;
  bool alias;
};

const UnsafeNameCase kUnsafeNames[] = {
    {"ParentFolder", "..\\escaped.txt", false},
    {"ParentInTheMiddle", "sub\\..\\..\\escaped.txt", false},
    {"ParentWithSlashes", "sub/../../escaped.txt", false},
    {"DriveAbsolute", "C:\\escaped.txt", false},
    {"DriveRelative", "C:escaped.txt", false},
    {"Rooted", "\\escaped.txt", false},
    {"Unc", "\\\\server\\share\\escaped.txt", false},
    {"AliasClimbing", "..\\escaped.txt", true},
};

class UnsafeNames : public DataFileTest, public testing::WithParamInterface<UnsafeNameCase> {};

TEST_P(UnsafeNames, AreRefusedAndNothingIsWritten) {
  const UnsafeNameCase& c = GetParam();
  useDataFile(buildDataFile({{"main.swf", bytesOf("movie")},
                             {c.entryName, c.alias ? Bytes{} : bytesOf("outside"), false, c.alias},
                             {"after.txt", bytesOf("never")}})
                  .bytes);
  EXPECT_EQ(install(), err::UnsafeEntryName);
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{composeFileErrorMessage(err::UnsafeEntryName, c.entryName)}));
  EXPECT_FALSE(scratch::fileExists(systemFolder() + "escaped.txt"));
  EXPECT_FALSE(scratch::fileExists(installFolder() + "after.txt"));
  EXPECT_EQ(composeCompletionStatus(err::UnsafeEntryName).statusLine, "Install failed. Error: -1001");
}

INSTANTIATE_TEST_SUITE_P(Files, UnsafeNames, testing::ValuesIn(kUnsafeNames), CaseName());

// --- damaged data files ---------------------------------------------------------

TEST_F(DataFileTest, AnEntryCountOutsideTheDirectoryIsRefused) {
  for (std::int32_t count : {-1, 1011, 0x7FFFFFFF}) {
    dialogs::reset();
    Bytes bytes = buildDataFile({{"main.swf", bytesOf("movie")}}).bytes;
    put32(bytes, kEntryCountOffset, count);
    useDataFile(bytes);
    EXPECT_EQ(expandDataFile(), err::DataFileCorrupt) << count;
    EXPECT_EQ(dialogTexts(), (std::vector<std::string>{composeDataFileOpenProblem(packageState().dataFileTempPath,
                                                                                  err::DataFileCorrupt)}));
    EXPECT_FALSE(scratch::fileExists(installFolder() + "main.swf"));
    EXPECT_EQ(closeDataFile(), 0);
  }
}

TEST_F(DataFileTest, TheLargestDirectory) {
  std::vector<TestDataItem> items;
  for (int i = 1; i <= kMaxDataFileEntries; ++i) items.push_back({"f" + std::to_string(i), {}});
  useDataFile(buildDataFile(items).bytes);
  EXPECT_EQ(install(), 0);
  EXPECT_EQ(dataEntryNameOf(dataFileEntry(kMaxDataFileEntries)), "f1010");
}

struct DamagedChunkCase {
  const char* name;
  std::size_t field;  // offset in the chunk header
  std::int32_t value;
  InstallError expected;
  bool readProblem;  // shown with the read-problem box
};

const DamagedChunkCase kDamagedChunks[] = {
    {"PlainSizeBeyondTheFile", 8, 0x7FFFFFF0, err::ReadShort, true},
    {"PlainSizeOneTooMany", 8, 6, err::ReadShort, true},
    {"PlainSizeNegative", 8, -5, err::OutOfMemory, false},
    {"CompressedStoredSizeBeyondTheFile", 12, 0x7FFFFFF0, err::ReadShort, true},
    {"CompressedStoredSizeZero", 12, 0, err::OutOfMemory, false},
};

class DamagedChunks : public DataFileTest, public testing::WithParamInterface<DamagedChunkCase> {};

TEST_P(DamagedChunks, Case) {
  const DamagedChunkCase& c = GetParam();
  const bool compressed = c.field == 12;
  BuiltDataFile data = buildDataFile({{"main.swf", bytesOf("movie"), compressed}});
  put32(data.bytes, data.chunkOffsets[0] + c.field, c.value);
  useDataFile(data.bytes);
  EXPECT_EQ(install(), c.expected);
  const std::vector<std::string> expected =
      c.readProblem ? std::vector<std::string>{kReadProblem + systemErrorText(c.expected)} : std::vector<std::string>{};
  EXPECT_EQ(dialogTexts(), expected);
  EXPECT_FALSE(scratch::fileExists(installFolder() + "main.swf"));
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedChunks, testing::ValuesIn(kDamagedChunks), CaseName());

TEST_F(DataFileTest, AChunkBeyondTheFileIsAReadProblem) {
  BuiltDataFile data = buildDataFile({{"main.swf", bytesOf("movie")}});
  put32(data.bytes, kSaverSettingsSize + 260, 0x01000000);  // chunk offset
  useDataFile(data.bytes);
  EXPECT_EQ(install(), err::ReadBeyondEnd);
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{kReadProblem + systemErrorText(err::ReadBeyondEnd)}));
}

TEST_F(DataFileTest, ATargetThatCannotBeCreated) {
  // A folder stands where the files should go.
  scratch::makeFolder(installFolder() + "plain.txt");
  scratch::makeFolder(installFolder() + "packed.txt");
  useDataFile(buildDataFile({{"plain.txt", bytesOf("plain")}}).bytes);
  EXPECT_EQ(install(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{kReadProblem + systemErrorText(ERROR_ACCESS_DENIED)}));
  closeDataFile();
  dialogs::reset();
  useDataFile(buildDataFile({{"packed.txt", sampleBytes(3000), true}}).bytes);
  EXPECT_EQ(install(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{composeFileErrorMessage(ERROR_ACCESS_DENIED,
                                                                             installFolder() + "packed.txt")}));
}

TEST_F(DataFileTest, ADirectoryCutShortIsAnOpenProblem) {
  Bytes bytes = buildDataFile({{"main.swf", bytesOf("movie")}, {"second.txt", bytesOf("x")}}).bytes;
  bytes.resize(kSaverSettingsSize + kDataFileEntrySize + 10);
  useDataFile(bytes);
  EXPECT_EQ(expandDataFile(), err::ReadBeyondEnd);
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{
                               "Problem opening screen saver data file.\r\n\r\nFile: " +
                               packageState().dataFileTempPath + "\r\n\r\n100"}));
  EXPECT_TRUE(dataFileOpen());
}

TEST_F(DataFileTest, SettingsThatCannotBeReadAreReportedNamingTheFile) {
  const std::string& path = packageState().dataFileTempPath;
  scratch::removeAll(path);
  EXPECT_EQ(readSaverSettings(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(openDataFile(path, false), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(openDataFile(path, true), ERROR_FILE_NOT_FOUND);
  useDataFile(Bytes(100, 0));
  EXPECT_EQ(readSaverSettings(), err::ReadBeyondEnd);
  EXPECT_EQ(openDataFile(path, true), err::ReadBeyondEnd);
  EXPECT_FALSE(dataFileOpen());
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{
                               composeFileErrorMessage(ERROR_FILE_NOT_FOUND, path),
                               "Problem opening screen saver data file.\r\n\r\nFile: " + path + "\r\n\r\n2",
                               composeFileErrorMessage(err::ReadBeyondEnd, path),
                               "Problem opening screen saver data file.\r\n\r\nFile: " + path + "\r\n\r\n100",
                           }));
  // The short file was not kept open.
  EXPECT_EQ(removeFile(path), 0);
}

TEST_F(DataFileTest, SaverDatThatCannotBeWritten) {
  useDataFile(buildDataFile({}).bytes);
  ASSERT_EQ(readSaverSettings(), 0);
  scratch::removeAll(installFolder());
  EXPECT_EQ(writeSaverSettings(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(dialogTexts(), (std::vector<std::string>{
                               composeFileErrorMessage(ERROR_PATH_NOT_FOUND, installFolder() + "saver.dat")}));
}
}  // namespace
