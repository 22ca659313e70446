#include "system/VLM_FileUtils.h"

#include <windows.h>

#include "installer/catalogue.h"
#include "installer/messages.h"
#include "system/heap_buffer.h"
#include "system/logFile.h"
#include "ui/message_dialog.h"

namespace {
struct Folders {
  std::string windows;
  std::string system;
  std::string temp;
};

Folders& folders() {
  static Folders value;
  return value;
}

InstallError lastError() { return static_cast<InstallError>(GetLastError()); }

std::string withBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string withoutBackslash(std::string folder) {
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::string environment(const char* name) {
  char buffer[MAX_PATH + 1];
  const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (n == 0) return std::string();
  if (n < sizeof buffer) return std::string(buffer, n);
  // Longer than a path: ask again with room for it.
  std::string value(n, '\0');
  const DWORD again = GetEnvironmentVariableA(name, value.data(), n);
  value.resize(again < n ? again : 0);
  return value;
}

DWORD attributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool fileExists(const std::string& path) {
  const DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool folderExists(const std::string& path) {
  const DWORD a = attributesOf(withoutBackslash(path));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isScreenSaverFile(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/:");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".scr";
}

// One removal as removeFile does it; `busy` is the code for a file that stays.
InstallError removeOnce(const std::string& path, InstallError busy) {
  if (!fileExists(path)) return err::Success;
  if (DeleteFileA(path.c_str())) return err::Success;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileA(path.c_str())) return err::Success;
  return busy;
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : handle_(h) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

bool isDotEntry(const char* name) {
  return (name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.' && name[2] == '\0');
}

std::string saverModule(const std::string& folder, const std::string& saverName) {
  return folder + saverName + ".scr";
}

std::string saverFolder(const std::string& folder, const std::string& saverName) {
  return folder + saverName + catalogueText(Text::DirSuffix);
}

// The root of a path ("C:\" or "\\server\share\") gives no shorter parent.
std::string parentOf(const std::string& folder) {
  const std::string trimmed = withoutBackslash(folder);
  const std::size_t slash = trimmed.find_last_of('\\');
  return slash == std::string::npos ? std::string() : trimmed.substr(0, slash + 1);
}
}  // namespace

const std::string& windowsFolder() { return folders().windows; }
const std::string& systemFolder() { return folders().system; }
const std::string& tempFolder() { return folders().temp; }

InstallError prepareFolders() {
  logFile("prepareFolders");
  folders().windows = getWindowsFolder();
  folders().system = getSystemFolder();
  return makeTempFolder("KRX", folders().temp);
}

std::string getWindowsFolder() {
  std::string folder = environment("WINDIR");
  if (folder.empty()) {
    char buffer[MAX_PATH + 1];
    const UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) folder.assign(buffer, n);
  }
  return withBackslash(folder);
}

std::string getSystemFolder() {
  char buffer[301];  // 300 characters and the terminator
  const UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
  return withBackslash(std::string(buffer, n < sizeof buffer ? n : 0));
}

InstallError makeTempFolder(const std::string& prefix, std::string& folder) {
  std::string base = environment("TEMP");
  if (base.empty()) {
    // Without TEMP the base would be the root of the current drive.
    char buffer[MAX_PATH + 1];
    const DWORD n = GetTempPathA(sizeof buffer, buffer);
    if (n > 0 && n < sizeof buffer) base.assign(buffer, n);
  }
  base = withBackslash(base) + prefix;
  folder = base;
  // When every candidate exists there is no failed call to take a number
  // from; "already exists" says what happened.
  InstallError failure = ERROR_ALREADY_EXISTS;
  for (int n = 1; n <= 1000; ++n) {
    const std::string candidate = base + decimalText(n);
    if (folderExists(candidate)) continue;
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      folder = candidate + '\\';
      return err::Success;
    }
    failure = lastError();
  }
  return failure;
}

InstallError removeFile(const std::string& path) { return removeOnce(path, err::FileBusy); }

InstallError removeFileRetrying(const std::string& path, int attempts) {
  const InstallError busy = isScreenSaverFile(path) ? err::SaverBusy : err::FileBusy;
  InstallError result = err::GeneralFailure;
  while (attempts > 0 && result != err::Success) {
    result = removeOnce(path, busy);
    --attempts;
  }
  return result;
}

InstallError removeFolderTree(const std::string& folder) {
  if (folder.empty()) return err::GeneralFailure;
  InstallError result = err::Success;
  {
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((folder + "*.*").c_str(), &found));
    bool more = find.get() != INVALID_HANDLE_VALUE;
    while (more && result == err::Success) {
      if (!isDotEntry(found.cFileName)) {
        const std::string path = folder + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          removeFolderTree(path + '\\');  // one that stays keeps its parent too
        } else {
          result = removeFile(path);
        }
      }
      if (result == err::Success) more = FindNextFileA(find.get(), &found) != FALSE;
    }
  }
  if (result != err::Success) return result;
  if (!folderExists(folder)) return err::Success;
  const std::string bare = withoutBackslash(folder);
  SetFileAttributesA(bare.c_str(), FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryA(bare.c_str()) ? err::Success : err::GeneralFailure;
}

bool copyFileOver(const std::string& source, const std::string& target) {
  if (fileExists(source)) SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (fileExists(target)) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  return CopyFileA(source.c_str(), target.c_str(), FALSE) != FALSE;
}

void createFolderPath(const std::string& folder) {
  if (folder.empty()) return;
  if (!folderExists(folder)) {
    const std::string parent = parentOf(folder);
    if (!parent.empty() && parent.size() < folder.size()) createFolderPath(parent);
  }
  CreateDirectoryA(withoutBackslash(folder).c_str(), nullptr);
}

void readFileVersion(const std::string& path, std::int32_t& major, std::int32_t& release) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return;
  HeapBuffer info(size);
  if (!info) return;
  if (!GetFileVersionInfoA(path.c_str(), 0, size, info.get())) return;
  void* block = nullptr;
  UINT length = 0;
  char root[] = "\\";
  if (!VerQueryValueA(info.get(), root, &block, &length) || block == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO))
    return;
  const VS_FIXEDFILEINFO* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
  major = static_cast<std::int32_t>(HIWORD(fixed->dwFileVersionMS));
  release = static_cast<std::int32_t>(HIWORD(fixed->dwFileVersionLS));
}

bool saverExists(const std::string& folder, const std::string& saverName) {
  return fileExists(saverModule(folder, saverName)) || folderExists(saverFolder(folder, saverName));
}

InstallError removeSaver(const std::string& folder, const std::string& saverName) {
  InstallError result = err::Success;
  const std::string module = saverModule(folder, saverName);
  if (fileExists(module)) result = removeFile(module);
  const std::string own = saverFolder(folder, saverName);
  if (folderExists(own)) result = removeFolderTree(own);
  return result;
}

InstallError createSaverFolder(const std::string& folder, const std::string& saverName) {
  const std::string own = saverFolder(folder, saverName);
  if (folderExists(own) || CreateDirectoryA(withoutBackslash(own).c_str(), nullptr)) return err::Success;
  const InstallError failure = lastError();
  return failure == ERROR_ALREADY_EXISTS ? err::Success : failure;
}

InstallError checkExistingSaver(const std::string& targetFolder, const std::string& saverName, bool ask,
                                const std::string& question) {
  logFile("checkExistingSaver");
  const bool inTarget = saverExists(targetFolder, saverName);
  const bool inWindows = saverExists(windowsFolder(), saverName);
  if ((inTarget || inWindows) && ask) {
    const ui::DialogResult answer =
        ui::messageDlg(saverName + question, ui::DialogKind::Confirmation, ui::DialogButtons::OkCancel);
    if (answer != ui::DialogResult::Ok) return err::UserAbort;
  }
  // Old files that stay are met again by the extraction, which reports them.
  if (inWindows) removeSaver(windowsFolder(), saverName);
  if (inTarget) removeSaver(targetFolder, saverName);
  return createSaverFolder(targetFolder, saverName);
}
