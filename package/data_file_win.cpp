#include "package/data_file.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>


#include "installer/catalogue.h"
#include "installer/feedback.h"
#include "installer/messages.h"
#include "installer/window_state.h"
#include "package/compressor.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "system/heap_buffer.h"
#include "system/logFile.h"
#include "system/win_file.h"
#include "ui/message_dialog.h"

namespace {
struct OpenDataFile {
  WinFile file;
  bool open = false;
  std::string path;
  // From the heap at the first open: a static array of its size would be
  // stored in the executable (zero data goes to .data with section-per-object
  // builds). Kept for the whole run.
  DataFileEntry* directory = nullptr;
};

OpenDataFile& dataFile() {
  static OpenDataFile value;
  return value;
}

const DataFileEntry kNoEntry{};

// Entry n of the directory as read; all zero before the first open.
const DataFileEntry& entryAt(int n) {
  const DataFileEntry* directory = dataFile().directory;
  return directory ? directory[n] : kNoEntry;
}

bool haveDirectory() {
  OpenDataFile& data = dataFile();
  if (!data.directory) {
    data.directory = static_cast<DataFileEntry*>(std::calloc(kDataFileDirectorySlots, sizeof(DataFileEntry)));
  }
  return data.directory != nullptr;
}

SaverSettings& settings() { return installerWindowState().saverSettings; }

// The entries the directory can hold, whatever the record says.
int entryCount() {
  const std::int32_t count = entryCountOf(settings());
  return count < kMaxDataFileEntries ? count : kMaxDataFileEntries;
}

void showError(const std::string& text) {
  ui::messageDlg(text, ui::DialogKind::Error, ui::DialogButtons::Abort);
}

InstallError readSettingsFrom(WinFile& file, SaverSettings& into) {
  std::uint8_t bytes[kSaverSettingsSize];
  const InstallError result = file.readExact(bytes, sizeof bytes);
  if (result == err::Success) std::memcpy(into.bytes, bytes, sizeof bytes);
  return result;
}

// A count the directory cannot hold is a damaged file, refused before any
// record is read.
InstallError readDirectory(WinFile& file, std::int32_t count) {
  OpenDataFile& data = dataFile();
  if (!haveDirectory()) return err::OutOfMemory;
  for (std::size_t n = 0; n < kDataFileDirectorySlots; ++n) data.directory[n] = DataFileEntry{};
  if (count < 0 || count > kMaxDataFileEntries) return err::DataFileCorrupt;
  for (int n = 1; n <= count; ++n) {
    std::uint8_t bytes[kDataFileEntrySize];
    const InstallError result = file.readExact(bytes, sizeof bytes);
    if (result != err::Success) return result;
    data.directory[n] = decodeDataFileEntry(std::span<const std::uint8_t, kDataFileEntrySize>(bytes));
  }
  return err::Success;
}

// Names come from the file; one that is absolute or climbs out with ".."
// would write outside the install folder.
bool refuseUnsafeName(const std::string& name) {
  if (isContainedRelativeName(name)) return false;
  reportFileError(err::UnsafeEntryName, name);
  return true;
}

std::string withBackslashes(std::string name) {
  for (char& c : name) {
    if (c == '/') c = '\\';
  }
  return name;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isFolder(const std::string& path) {
  if (path.empty()) return false;
  std::string bare = path;
  if (bare.back() == '\\') bare.pop_back();
  const DWORD a = GetFileAttributesA(bare.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// How expanding one entry ended: its code, whether the code is an I/O
// failure to be shown, and whether the target counts as written.
struct EntryOutcome {
  InstallError code = err::Success;
  bool ioError = false;
  bool written = false;
};

EntryOutcome ioFailure(InstallError code, bool written = false) { return {code, true, written}; }

// Stored bytes must lie inside the data file before a buffer is sized by them.
InstallError checkInside(std::uint32_t dataStart, std::int32_t count) {
  std::uint32_t fileSize = 0;
  const InstallError sized = dataFile().file.size(fileSize);
  if (sized != err::Success) return sized;
  if (dataStart > fileSize || static_cast<std::uint32_t>(count) > fileSize - dataStart) return err::ReadShort;
  return err::Success;
}

EntryOutcome expandCompressed(const ChunkHeader& chunk, std::uint32_t dataStart, const std::string& target) {
  if (chunk.storedSize <= 0) return {err::OutOfMemory};
  const InstallError inside = checkInside(dataStart, chunk.storedSize);
  if (inside != err::Success) return ioFailure(inside);
  const std::uint32_t stored = static_cast<std::uint32_t>(chunk.storedSize);
  HeapBuffer buffer(stored);
  if (!buffer) return {err::OutOfMemory};
  const InstallError read = dataFile().file.readExact(buffer.get(), stored);
  if (read != err::Success) return ioFailure(read);
  InstallError expanded = err::Success;
  {
    TCompressor compressor(tempFolder());
    if (!compressor.loaded) return {err::CompressorUnavailable};
    expanded = compressor.Expand(target, buffer.get(), chunk.storedSize);
  }
  if (expanded != err::Success) {
    reportFileError(expanded, target);
    return {expanded};
  }
  std::int64_t length = 0;
  if (!fileLengthOf(target, length)) return {err::FileNotFound};
  if (length != chunk.expandedSize) return {err::SizeMismatch, false, true};
  return {err::Success, false, true};
}

EntryOutcome copyPlain(const ChunkHeader& chunk, std::uint32_t dataStart, const std::string& target) {
  WinFile out;
  const InstallError created = out.create(target);
  if (created != err::Success) return ioFailure(created);
  if (chunk.expandedSize <= 0) return {err::OutOfMemory, false, true};
  const InstallError inside = checkInside(dataStart, chunk.expandedSize);
  if (inside != err::Success) return ioFailure(inside, true);
  const std::uint32_t size = static_cast<std::uint32_t>(chunk.expandedSize);
  HeapBuffer buffer(size);
  if (!buffer) return {err::OutOfMemory, false, true};
  InstallError result = dataFile().file.readExact(buffer.get(), size);
  if (result == err::Success) result = out.writeAll(buffer.get(), size);
  if (result == err::Success) result = out.close();
  return result == err::Success ? EntryOutcome{err::Success, false, true} : ioFailure(result, true);
}

EntryOutcome writeEntry(const DataFileEntry& entry, const std::string& target) {
  OpenDataFile& data = dataFile();
  InstallError result = data.file.seek(static_cast<std::uint32_t>(entry.chunkOffset));
  std::uint8_t bytes[kChunkHeaderSize];
  if (result == err::Success) result = data.file.readExact(bytes, sizeof bytes);
  if (result != err::Success) return ioFailure(result);
  const ChunkHeader chunk = decodeChunkHeader(std::span<const std::uint8_t, kChunkHeaderSize>(bytes));
  if (chunk.expandedSize == 0) return {};
  const std::string folder = folderOf(target);
  if (!isFolder(folder)) createFolderPath(folder);
  const std::uint32_t dataStart = static_cast<std::uint32_t>(entry.chunkOffset) + kChunkHeaderSize;
  if (chunk.compressed) return expandCompressed(chunk, dataStart, target);
  return copyPlain(chunk, dataStart, target);
}

InstallError copyAlias(int entryNumber, const std::string& mainName) {
  const PackageState& state = packageState();
  const std::string name = dataEntryNameOf(entryAt(entryNumber));
  if (refuseUnsafeName(name)) return err::UnsafeEntryName;
  const std::string source =
      entryNumber == 1 ? tempFolder() + kInstallerMovieName : state.installFolder + withBackslashes(mainName);
  const std::string target = state.installFolder + withBackslashes(name);
  // Like a stored file, an alias in a sub-folder gets its folder first.
  const std::string folder = folderOf(target);
  if (!isFolder(folder)) createFolderPath(folder);
  // A name that is the main movie's own is a copy onto itself: not an error.
  if (copyFileOver(source, target) || source == target) return err::Success;
  reportFileError(err::MovieCopyFailed, source);
  return err::MovieCopyFailed;
}

void markMainMovieArchived(const std::string& mainName) {
  if (!isContainedRelativeName(mainName)) return;
  const std::string path = packageState().installFolder + withBackslashes(mainName);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_ARCHIVE);
}
}  // namespace

bool dataFileOpen() { return dataFile().open; }

const DataFileEntry& dataFileEntry(int index) { return entryAt(index); }

InstallError readSaverSettings() {
  logFile("readSaverSettings");
  const std::string& path = packageState().dataFileTempPath;
  WinFile file;
  InstallError result = file.openRead(path);
  if (result == err::Success) result = readSettingsFrom(file, settings());
  if (result == err::Success) result = file.close();
  if (result != err::Success) reportFileError(result, path);
  return result;
}

InstallError openDataFile(const std::string& path, bool showErrors) {
  logFile("openDataFile");
  OpenDataFile& data = dataFile();
  if (data.open) {
    ui::messageDlg(composeDataFileInUse(), ui::DialogKind::Information, ui::DialogButtons::Abort);
    return err::Success;
  }
  InstallError result = data.file.openRead(path);
  if (result == err::Success) {
    result = readSettingsFrom(data.file, settings());
    // A file whose settings cannot be read is not kept open: nothing could
    // close it later.
    if (result != err::Success) data.file.close();
  }
  if (result == err::Success) {
    data.open = true;
    data.path = path;
    result = readDirectory(data.file, entryCountOf(settings()));
  }
  if (result != err::Success && showErrors) showError(composeDataFileOpenProblem(path, result));
  return result;
}

InstallError expandDataFileEntry(const std::string& folder, int entryNumber) {
  if (entryNumber < 1 || entryNumber > entryCount()) return err::EntryOutOfRange;
  if (!dataFile().open) return err::DataFileNotOpen;
  const DataFileEntry& entry = entryAt(entryNumber);
  const std::string name = dataEntryNameOf(entry);
  if (refuseUnsafeName(name)) return err::UnsafeEntryName;
  const std::string target = folder + withBackslashes(name);

  const EntryOutcome outcome = writeEntry(entry, target);
  if (outcome.ioError) showError(composeDataFileReadProblem(systemErrorText(outcome.code)));
  if (outcome.code != err::Success && outcome.written) removeFile(target);
  return outcome.code;
}

InstallError expandDataFile() {
  logFile("expandDataFile");
  showStatus(catalogueText(Text::ExpandingFiles));
  const PackageState& state = packageState();
  InstallError result = openDataFile(state.dataFileTempPath, true);
  if (result == err::Success && dataFile().directory && mainMovieModeOf(settings()) == kMainMovieFromInstaller) {
    dataFile().directory[1].type = kAliasEntryType;
  }
  const std::string mainName = dataEntryNameOf(entryAt(1));
  const int count = entryCount();
  for (int n = 1; n <= count && result == err::Success; ++n) {
    const DataFileEntry& entry = entryAt(n);
    if (entry.name[0] == '\0') continue;
    result = entry.type == kAliasEntryType ? copyAlias(n, mainName) : expandDataFileEntry(state.installFolder, n);
  }
  if (result == err::Success) {
    result = closeDataFile();
    stepProgress();
  }
  markMainMovieArchived(mainName);
  return result;
}

InstallError closeDataFile() {
  OpenDataFile& data = dataFile();
  if (!data.open) return err::Success;
  const InstallError result = data.file.close();
  data.open = false;
  if (result != err::Success) showError(composeDataFileCloseProblem(data.path, systemErrorText(result)));
  return result;
}

InstallError writeSaverSettings() {
  logFile("writeSaverSettings");
  showStatus(catalogueText(Text::WritingSaverDataFile));
  const std::string path = packageState().installFolder + kSaverSettingsFileName;
  WinFile file;
  InstallError result = file.create(path);
  if (result == err::Success) result = file.writeAll(settings().bytes, kSaverSettingsSize);
  if (result == err::Success) result = file.close();
  if (result != err::Success) reportFileError(result, path);
  return result;
}
