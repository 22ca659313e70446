#include "package/entry_extraction.h"

#include <windows.h>

#include "installer/catalogue.h"
#include "installer/feedback.h"
#include "installer/messages.h"
#include "installer/run_flags.h"
#include "installer/window_state.h"
#include "package/compressor.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "system/heap_buffer.h"
#include "system/logFile.h"
#include "system/win_file.h"

namespace {
const int kEntryRemovalAttempts = 1000;
const std::uint32_t kCopyBlockSize = 64 * 1024;

// How one attempt at writing an entry ended.
struct Outcome {
  InstallError code = err::Success;
  bool alwaysReport = false;  // the target could not be created
};

std::string targetPath(const EntryTarget& target) {
  switch (target.folder) {
    case TargetFolder::Install:
      return packageState().installFolder + target.name;
    case TargetFolder::System:
      return systemFolder() + target.name;
    case TargetFolder::Temp:
      return tempFolder() + target.name;
    case TargetFolder::None:
      break;
  }
  return std::string();
}

// The stored bytes must lie inside the package copy: a damaged offset or
// length must not become a huge allocation or a read past the end.
InstallError checkStoredBytes(WinFile& packageFile, const PackageEntry& entry, std::int64_t length) {
  std::uint32_t fileSize = 0;
  const InstallError sized = packageFile.size(fileSize);
  if (sized != err::Success) return sized;
  if (entry.start < 0 || entry.start + length > static_cast<std::int64_t>(fileSize)) return err::ReadShort;
  return packageFile.seek(static_cast<std::uint32_t>(entry.start));
}

Outcome expandEntry(WinFile& packageFile, const PackageEntry& entry, std::uint32_t length,
                    const std::string& target) {
  TCompressor compressor(tempFolder());
  if (!compressor.loaded) return {err::CompressorUnavailable};
  HeapBuffer stored(length);
  if (!stored) return {err::OutOfMemory};
  if (packageFile.readExact(stored.get(), length) != err::Success) return {err::ReadShort};
  const InstallError expanded = compressor.Expand(target, stored.get(), static_cast<std::int32_t>(length));
  if (expanded != err::Success) return {expanded, expanded > 0};  // > 0: the target could not be created
  std::int64_t written = 0;
  if (!fileLengthOf(target, written)) return {err::FileNotFound};
  if (written != entry.size) return {err::SizeMismatch};
  return {};
}

Outcome copyEntry(WinFile& packageFile, std::uint32_t length, const std::string& target) {
  WinFile out;
  const InstallError created = out.create(target);
  if (created != err::Success) return {created, true};
  HeapBuffer block(kCopyBlockSize);
  if (!block) return {err::OutOfMemory};
  while (length > 0) {
    const std::uint32_t want = length < kCopyBlockSize ? length : kCopyBlockSize;
    std::uint32_t got = 0;
    if (packageFile.readSome(block.get(), want, got) != err::Success || got == 0) return {err::ReadShort};
    if (out.writeAll(block.get(), got) != err::Success) return {err::ReadShort};
    length -= got;
  }
  return {out.close()};
}

Outcome writeEntry(WinFile& packageFile, const PackageEntry& entry, const std::string& target) {
  const std::int64_t length = storedLength(entry);
  if (length <= 0) return {err::OutOfMemory};
  const InstallError inside = checkStoredBytes(packageFile, entry, length);
  if (inside != err::Success) return {inside};
  const std::uint32_t bytes = static_cast<std::uint32_t>(length);
  if (entry.compressed) return expandEntry(packageFile, entry, bytes, target);
  return copyEntry(packageFile, bytes, target);
}

// Removes what an earlier run or installation left at the target. The
// libraries get one quiet attempt; everything else is retried, and its
// failures are not reported later.
InstallError removeOldTarget(const std::string& target, bool& unreported) {
  if (extractFileExt(target) == ".dll") return removeFile(target);
  unreported = true;
  return removeFileRetrying(target, kEntryRemovalAttempts);
}

InstallError extractSlotFromCopy(int slot) {
  const std::string& path = packageState().packageCopyPath;
  WinFile package;
  const InstallError opened = package.openRead(path);
  if (opened != err::Success) {
    reportFileError(opened, path);
    return opened;
  }
  return extractEntry(package, slot, false);
}

InstallError extractStartupSlot(int slot) {
  if (isEmptySlot(packageState().packageDirectory.entries[static_cast<std::size_t>(slot)])) return err::EmptySlot;
  return extractSlotFromCopy(slot);
}

InstallError copyDocument(int slot, bool& missing) {
  const PackageState& state = packageState();
  const std::string name = entryNameOf(state.packageDirectory.entries[static_cast<std::size_t>(slot)]);
  const std::string source = tempFolder() + name;
  const DWORD attributes = GetFileAttributesA(source.c_str());
  missing = attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (missing) return err::FileNotFound;
  if (!copyFileOver(source, state.installFolder + name)) return static_cast<InstallError>(GetLastError());
  return err::Success;
}
}  // namespace

InstallError extractEntry(WinFile& packageFile, int slot, bool withStatus) {
  logFile("extractEntry", slot);
  if (withStatus) showStatus(catalogueText(Text::WritingScreenSaverFiles));
  const PackageEntry& entry = packageState().packageDirectory.entries[static_cast<std::size_t>(slot)];
  if (isEmptySlot(entry)) {
    reportFileError(err::EmptySlot, "");
    return err::EmptySlot;
  }
  const std::string name = entryNameOf(entry);
  const EntryTarget where = entryTarget(entry.kind, name);
  if (where.folder == TargetFolder::None) {
    // A kind without a folder would write relative to whatever folder is
    // current.
    reportFileError(err::EntryKindInvalid, name);
    return err::EntryKindInvalid;
  }
  const std::string target = targetPath(where);
  if (withStatus) stepProgress();

  bool unreported = false;
  Outcome outcome{removeOldTarget(target, unreported)};
  if (outcome.code == err::Success) outcome = writeEntry(packageFile, entry, target);

  if (outcome.code == err::FileBusy) return err::Success;  // the old file stays and is used
  if (outcome.code != err::Success && (!unreported || outcome.alwaysReport)) {
    reportFileError(outcome.code, target);
  }
  return outcome.code;
}

InstallError extractInstallerPicture() {
  PackageDirectory& dir = packageState().packageDirectory;
  PackageEntry& picture = dir.entries[Slot::Picture];
  if (isEmptySlot(picture)) return err::EmptySlot;
  if (dir.header.installMode == InstallMode::Bitmap) setEntryName(picture, changeFileExt(entryNameOf(picture), ".BMP"));
  if (dir.header.installMode == InstallMode::Jpeg) setEntryName(picture, changeFileExt(entryNameOf(picture), ".jpg"));
  return extractSlotFromCopy(Slot::Picture);
}

InstallError extractReadMe() { return extractStartupSlot(Slot::ReadMe); }
InstallError extractLicenseText() { return extractStartupSlot(Slot::License); }
InstallError extractFlashInstaller() { return extractStartupSlot(Slot::FlashInstaller); }

InstallError extractInstallEntries(const std::string& packagePath) {
  logFile("extractInstallEntries");
  WinFile package;
  const InstallError opened = package.openRead(packagePath);
  if (opened != err::Success) {
    reportFileError(opened, packagePath);
    return opened;
  }
  InstallError result = err::Success;
  const int first = installerWindowState().hasReadMe ? Slot::ReadMe : Slot::Module;
  for (int slot = first; slot <= Slot::Support2 && result == err::Success && !runFlags().cancelRequested; ++slot) {
    result = extractEntry(package, slot, true);
  }
  return result;
}

InstallError copyDocuments() {
  const InstallerWindowState& window = installerWindowState();
  InstallError result = err::Success;
  bool missing = false;
  if (window.showLicense) result = copyDocument(Slot::License, missing);
  if (window.hasReadMe) {
    const InstallError readMe = copyDocument(Slot::ReadMe, missing);
    if (missing) return readMe;
    if (readMe != err::Success) result = readMe;
  }
  return result;
}
