#include "tests/files/scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {
std::string& base() {
  static std::string value;
  return value;
}

std::string withoutBackslash(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Every test program gets a TEMP of its own, so that numbered folders made
// by other programs running at the same time do not meet ours.
class PrivateTemp : public testing::Environment {
 public:
  void SetUp() override {
    char buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("TEMP", buffer, MAX_PATH);
    std::string real(buffer, n < MAX_PATH ? n : 0);
    if (real.empty() || real.back() != '\\') real += '\\';
    char name[64];
    std::snprintf(name, sizeof name, "saver-files-%lu\\", GetCurrentProcessId());
    base() = real + name;
    scratch::removeAll(base());
    scratch::makeFolder(base());
    SetEnvironmentVariableA("TEMP", withoutBackslash(base()).c_str());
  }
  void TearDown() override { scratch::removeAll(base()); }
};

const testing::Environment* const kPrivateTemp = testing::AddGlobalTestEnvironment(new PrivateTemp);
}  // namespace

namespace scratch {
const std::string& tempBase() { return base(); }

void writeFile(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path << " error " << GetLastError();
  DWORD written = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  ASSERT_EQ(written, bytes.size()) << path;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  writeFile(path, std::string(bytes.begin(), bytes.end()));
}

std::string readFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes(GetFileSize(h, nullptr), '\0');
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

DWORD attributes(const std::string& path) { return GetFileAttributesA(withoutBackslash(path).c_str()); }

bool fileExists(const std::string& path) {
  const DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool folderExists(const std::string& path) {
  const DWORD a = attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void makeFolder(const std::string& path) { CreateDirectoryA(withoutBackslash(path).c_str(), nullptr); }

void removeAll(const std::string& path) {
  const std::string bare = withoutBackslash(path);
  const DWORD a = GetFileAttributesA(bare.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesA(bare.c_str(), FILE_ATTRIBUTE_NORMAL);
  if ((a & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    DeleteFileA(bare.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((bare + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") removeAll(bare + "\\" + name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
  RemoveDirectoryA(bare.c_str());
}
}  // namespace scratch

namespace {
void listInto(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + prefix + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      listInto(folder, prefix + name + "\\", out);
    } else {
      out.push_back(prefix + name);
    }
  } while (FindNextFileA(find, &found));
  FindClose(find);
}
}  // namespace

namespace scratch {
std::vector<std::string> listFiles(const std::string& folder) {
  std::vector<std::string> files;
  std::string base = folder;
  if (!base.empty() && base.back() != '\\') base += '\\';
  listInto(base, "", files);
  std::sort(files.begin(), files.end());
  return files;
}

int run(const std::string& commandLine) {
  std::string command = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return -1;
  }
  WaitForSingleObject(process.hProcess, 120000);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return static_cast<int>(code);
}
}  // namespace scratch
