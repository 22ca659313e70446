#pragma once
// What the Wine tests of the screen-saver set-up share: names no other test
// uses, registry and file owners that undo what a test made, and the
// system.ini value put back as it was. The Wine prefix is reused and shared
// with tests running in parallel, so every test cleans up after itself.
#include <windows.h>

#include <optional>
#include <string>

// base + " " + a suffix unique to this process and call.
std::string uniqueSaverName(const std::string& base);

// A string value of a key, or nothing when the key or value is missing.
std::optional<std::string> readRegistryString(HKEY root, const std::string& path, const char* value);
bool registryKeyExists(HKEY root, const std::string& path);
// Deletes the key with its subkeys; a missing key is fine.
void deleteRegistryTree(HKEY root, const std::string& path);

// Deletes the uninstall keys of a saver name under both roots when it dies.
class UninstallKeysGuard {
 public:
  explicit UninstallKeysGuard(std::string saverName);
  ~UninstallKeysGuard();
  UninstallKeysGuard(const UninstallKeysGuard&) = delete;
  UninstallKeysGuard& operator=(const UninstallKeysGuard&) = delete;

 private:
  std::string path_;
};

// Creates the key with a list that grants everybody read access only, so
// that opening it for full access is refused for real; gives the access
// back and deletes the key when it dies.
class ReadOnlyKey {
 public:
  ReadOnlyKey(HKEY root, std::string path);
  ~ReadOnlyKey();
  ReadOnlyKey(const ReadOnlyKey&) = delete;
  ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;
  bool ok() const { return ok_; }

 private:
  HKEY root_;
  std::string path_;
  bool ok_ = false;
};

// A small file that is deleted again when the owner dies.
class ScratchFile {
 public:
  explicit ScratchFile(std::string path);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& path() const { return path_; }
  bool ok() const { return ok_; }

 private:
  std::string path_;
  bool ok_ = false;
};

// Remembers "SCRNSAVE.EXE" of section "boot" in the Windows folder's
// system.ini and puts it back (or removes it again) when it dies.
class ActiveSaverSettingGuard {
 public:
  ActiveSaverSettingGuard();
  ~ActiveSaverSettingGuard();
  ActiveSaverSettingGuard(const ActiveSaverSettingGuard&) = delete;
  ActiveSaverSettingGuard& operator=(const ActiveSaverSettingGuard&) = delete;

 private:
  std::optional<std::string> saved_;
};

// The value as the profile functions read it; nothing when it is missing.
std::optional<std::string> activeSaverSetting();

// The system's 8.3 form of an existing path ("" when there is none).
std::string systemShortPath(const std::string& path);
