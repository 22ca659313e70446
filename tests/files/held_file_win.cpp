#include "tests/files/held_file.h"

#include <cstdio>

namespace {
std::string helperPath() {
  char buffer[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  std::string path(buffer, n);
  return path.substr(0, path.find_last_of('\\') + 1) + "file_locker.exe";
}

std::string eventName(const char* what) {
  static int serial = 0;
  char name[96];
  std::snprintf(name, sizeof name, "saver-test-%lu-%d-%s", GetCurrentProcessId(), ++serial, what);
  return name;
}
}  // namespace

HeldFile::HeldFile(const std::string& path) {
  const std::string readyName = eventName("ready");
  const std::string releaseName = eventName("release");
  ready_ = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
  release_ = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
  std::string command = "\"" + helperPath() + "\" \"" + path + "\" " + readyName + " " + releaseName;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
    return;
  }
  const HANDLE waitFor[2] = {ready_, process_.hProcess};
  held_ = WaitForMultipleObjects(2, waitFor, FALSE, 30000) == WAIT_OBJECT_0;
}

HeldFile::~HeldFile() {
  SetEvent(release_);
  if (process_.hProcess) {
    WaitForSingleObject(process_.hProcess, 30000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  CloseHandle(ready_);
  CloseHandle(release_);
}
