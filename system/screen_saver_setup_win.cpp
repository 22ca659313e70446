#include "system/screen_saver_setup.h"

#include <windows.h>

#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "system/logFile.h"
#include "system/saver_names.h"

namespace {
class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { close(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }
  void close() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

// The system's 8.3 form of an existing file's path; empty when there is no
// such file (a folder of that name does not count as the module).
std::string shortPathOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
  char buffer[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  if (n == 0) return {};
  if (n < sizeof buffer) return std::string(buffer, n);
  std::string longer(n, '\0');
  const DWORD again = GetShortPathNameA(path.c_str(), longer.data(), n);
  if (again == 0 || again >= n) return {};
  longer.resize(again);
  return longer;
}

InstallError lastErrorOr(InstallError fallback) {
  const DWORD code = GetLastError();
  return code != 0 ? static_cast<InstallError>(code) : fallback;
}

bool setString(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string uninstallCommand(const std::string& saverName) {
  std::string command = systemFolder() + saverName + ".scr";
  if (isWindows9x()) {
    const std::string shortCommand = shortPathOf(command);
    if (!shortCommand.empty()) command = shortCommand;
  }
  return command + " /u";
}

InstallError writeUninstallEntryUnder(HKEY root, const std::string& saverName) {
  const std::string display = makeDisplayName(saverName);
  const std::string command = uninstallCommand(saverName);
  RegKey key;
  if (RegCreateKeyExA(root, uninstallKeyPath(saverName).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, key.out(), nullptr) != ERROR_SUCCESS) {
    return err::UninstallEntryNotWritten;
  }
  if (!setString(key.get(), "DisplayName", display) || !setString(key.get(), "UninstallString", command)) {
    return err::UninstallEntryNotWritten;
  }
  return err::Success;
}

struct Removal {
  bool keyFound = false;
  InstallError result = err::Success;
};

Removal removeUninstallEntryUnder(HKEY root, const std::string& saverName) {
  const std::string path = uninstallKeyPath(saverName);
  RegKey key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS) return {};
  Removal removal{true, err::Success};
  if (RegDeleteValueA(key.get(), "DisplayName") != ERROR_SUCCESS) removal.result = err::UninstallEntryNotRemoved;
  if (removal.result == err::Success && RegDeleteValueA(key.get(), "UninstallString") != ERROR_SUCCESS) {
    removal.result = err::UninstallEntryNotRemoved;
  }
  key.close();
  if (removal.result == err::Success && RegDeleteKeyA(root, path.c_str()) != ERROR_SUCCESS) {
    removal.result = err::UninstallEntryNotRemoved;
  }
  return removal;
}
}  // namespace

std::string uninstallKeyPath(const std::string& saverName) {
  return "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + saverName;
}

InstallError setActiveScreenSaver() {
  logFile("setActiveScreenSaver");
  const PackageEntry& module = packageState().packageDirectory.entries[Slot::Module];
  return setActiveScreenSaverAt(systemFolder() + entryNameOf(module), "system.ini");
}

InstallError setActiveScreenSaverAt(const std::string& modulePath, const char* profileFile) {
  const std::string shortPath = shortPathOf(modulePath);
  if (shortPath.empty()) return err::FileNotFound;
  SetLastError(0);
  if (!WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", shortPath.c_str(), profileFile)) {
    // A run must not stop here without status: the failure becomes the
    // step's result, which the run holds apart as the system.ini result.
    return lastErrorOr(err::DiskWriteError);
  }
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDWININICHANGE);
  return err::Success;
}

InstallError writeUninstallEntry(const std::string& saverName) {
  logFile("writeUninstallEntry", saverName.c_str());
  InstallError result = writeUninstallEntryUnder(HKEY_LOCAL_MACHINE, saverName);
  if (result != err::Success) result = writeUninstallEntryUnder(HKEY_CURRENT_USER, saverName);
  return result;
}

InstallError removeUninstallEntry(const std::string& saverName) {
  logFile("removeUninstallEntry", saverName.c_str());
  Removal removal = removeUninstallEntryUnder(HKEY_LOCAL_MACHINE, saverName);
  // An entry that only the current user holds (written when the machine
  // root refused) is removed too, instead of being left behind pointing at
  // a module that the clean-up deletes.
  if (!removal.keyFound || removal.result != err::Success) {
    removal = removeUninstallEntryUnder(HKEY_CURRENT_USER, saverName);
  }
  return removal.result;
}

bool isWindows9x() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) return false;
  if (version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS || version.dwMajorVersion != 4) return false;
  return version.dwMinorVersion == 0 || version.dwMinorVersion == 10 || version.dwMinorVersion == 90;
}
