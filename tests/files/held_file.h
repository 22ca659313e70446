#pragma once
// A file that another process holds open without sharing for as long as
// this object lives (the helper program file_locker.exe beside the test).
#include <windows.h>

#include <string>

class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  // False when the helper could not take the file.
  bool held() const { return held_; }

 private:
  HANDLE ready_ = nullptr;
  HANDLE release_ = nullptr;
  PROCESS_INFORMATION process_{};
  bool held_ = false;
};
