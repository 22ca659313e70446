#include "package/package_reader.h"

#include <windows.h>

#include "installer/catalogue.h"
#include "installer/messages.h"
#include "package/entry_extraction.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "system/logFile.h"
#include "system/win_file.h"

namespace {
const char* const kPackageCopyName = "temp.dat";
const int kCopyRemovalAttempts = 100;
}  // namespace

void setInstallerPaths() {
  PackageState& state = packageState();
  char buffer[MAX_PATH + 1];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  state.exePath.assign(buffer, n <= MAX_PATH ? n : 0);
  state.packageCopyPath = tempFolder() + kPackageCopyName;
}

InstallError copyInstallerToTemp() {
  logFile("copyInstallerToTemp");
  const PackageState& state = packageState();
  InstallError result = removeFileRetrying(state.packageCopyPath, kCopyRemovalAttempts);
  if (result == err::Success && !copyFileOver(state.exePath, state.packageCopyPath)) {
    result = static_cast<InstallError>(GetLastError());
  }
  if (result != err::Success) reportFileError(err::SelfCopyFailed, state.packageCopyPath);
  return result;
}

InstallError readPackageDirectory() {
  logFile("readPackageDirectory");
  PackageState& state = packageState();
  WinFile package;
  InstallError result = package.openRead(state.packageCopyPath);
  if (result == err::Success) result = package.seek(static_cast<std::uint32_t>(packageOffset));
  std::uint8_t block[kPackageDirectorySize];
  if (result == err::Success) result = package.readExact(block, sizeof block);
  if (result == err::ReadBeyondEnd) result = err::HeaderReadShort;
  if (result != err::Success) {
    reportFileError(result, state.packageCopyPath);
    return result;
  }
  state.packageDirectory = decodePackageDirectory(std::span<const std::uint8_t, kPackageDirectorySize>(block));
  return extractEntry(package, Slot::Compressor, false);
}

void setSaverPaths() {
  PackageState& state = packageState();
  state.saverName = saverNameOf(state.packageDirectory.header);
  state.installFolder = systemFolder() + state.saverName + catalogueText(Text::DirSuffix);
  state.dataFileTempPath = tempFolder() + entryNameOf(state.packageDirectory.entries[Slot::DataFile]);
}
