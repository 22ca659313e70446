#include "tests/setup/setup_support.h"

#include <aclapi.h>
#include <shlwapi.h>

#include <atomic>
#include <utility>

#include <gtest/gtest.h>

#include "system/VLM_FileUtils.h"
#include "system/screen_saver_setup.h"

namespace {
constexpr char kMissing[] = "\x01missing";

// The operations read the process-wide folders: set them once, and remove
// the working folder that comes with them at the end.
class FoldersEnvironment : public testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(prepareFolders(), 0); }
  void TearDown() override { removeFolderTree(tempFolder()); }
};

[[maybe_unused]] testing::Environment* const kFolders = testing::AddGlobalTestEnvironment(new FoldersEnvironment);

class Key {
 public:
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool setDacl(HKEY key, PACL acl) {
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  // A null list means "everybody may do everything".
  SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
  return RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}
}  // namespace

std::string uniqueSaverName(const std::string& base) {
  static std::atomic<unsigned> counter{0};
  return base + " " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
         std::to_string(counter++);
}

std::optional<std::string> readRegistryString(HKEY root, const std::string& path, const char* value) {
  Key key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) return std::nullopt;
  char buffer[1024];
  DWORD size = sizeof buffer;
  DWORD type = 0;
  if (RegQueryValueExA(key.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::string(buffer, size > 0 && buffer[size - 1] == '\0' ? size - 1 : size);
}

bool registryKeyExists(HKEY root, const std::string& path) {
  Key key;
  return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS;
}

void deleteRegistryTree(HKEY root, const std::string& path) { SHDeleteKeyA(root, path.c_str()); }

UninstallKeysGuard::UninstallKeysGuard(std::string saverName) : path_(uninstallKeyPath(saverName)) {}

UninstallKeysGuard::~UninstallKeysGuard() {
  deleteRegistryTree(HKEY_LOCAL_MACHINE, path_);
  deleteRegistryTree(HKEY_CURRENT_USER, path_);
}

ReadOnlyKey::ReadOnlyKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
  Key key;
  if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  EXPLICIT_ACCESSA readOnly{};
  readOnly.grfAccessPermissions = KEY_READ;
  readOnly.grfAccessMode = SET_ACCESS;
  readOnly.grfInheritance = NO_INHERITANCE;
  readOnly.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
  readOnly.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  char everyone[] = "EVERYONE";
  readOnly.Trustee.ptstrName = everyone;
  PACL acl = nullptr;
  if (SetEntriesInAclA(1, &readOnly, nullptr, &acl) != ERROR_SUCCESS) return;
  ok_ = setDacl(key.get(), acl);
  LocalFree(acl);
}

ReadOnlyKey::~ReadOnlyKey() {
  // The owner may always change the list, whatever it says.
  Key key;
  if (RegOpenKeyExA(root_, path_.c_str(), 0, WRITE_DAC, key.out()) == ERROR_SUCCESS) setDacl(key.get(), nullptr);
  deleteRegistryTree(root_, path_);
}

ScratchFile::ScratchFile(std::string path) : path_(std::move(path)) {
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ok_ = WriteFile(file, "MZ", 2, &written, nullptr) && written == 2;
  CloseHandle(file);
}

ScratchFile::~ScratchFile() { DeleteFileA(path_.c_str()); }

std::optional<std::string> activeSaverSetting() {
  char buffer[MAX_PATH * 2];
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", kMissing, buffer, sizeof buffer, "system.ini");
  if (std::string(buffer) == kMissing) return std::nullopt;
  return std::string(buffer);
}

ActiveSaverSettingGuard::ActiveSaverSettingGuard() : saved_(activeSaverSetting()) {}

ActiveSaverSettingGuard::~ActiveSaverSettingGuard() {
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", saved_ ? saved_->c_str() : nullptr, "system.ini");
}

std::string systemShortPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}
