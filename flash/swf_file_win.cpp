#include <windows.h>

#include "flash/swf_file.h"

namespace {
HANDLE asHandle(void* handle) { return static_cast<HANDLE>(handle); }
}  // namespace

SwfFile::~SwfFile() { close(); }

bool SwfFile::exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

InstallError SwfFile::openRead(const std::string& path) {
  close();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return static_cast<InstallError>(GetLastError());
  DWORD high = 0;
  const DWORD low = GetFileSize(h, &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    const auto code = static_cast<InstallError>(GetLastError());
    CloseHandle(h);
    return code;
  }
  handle_ = h;
  size_ = (static_cast<std::uint64_t>(high) << 32) | low;
  position_ = 0;
  return err::Success;
}

InstallError SwfFile::create(const std::string& path) {
  close();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return static_cast<InstallError>(GetLastError());
  handle_ = h;
  size_ = 0;
  position_ = 0;
  return err::Success;
}

InstallError SwfFile::close() {
  const bool closed = handle_ == nullptr || CloseHandle(asHandle(handle_));
  handle_ = nullptr;
  return closed ? err::Success : err::DiskWriteError;
}

InstallError SwfFile::read(void* data, std::size_t count, std::size_t& got) {
  got = 0;
  DWORD done = 0;
  if (!ReadFile(asHandle(handle_), data, static_cast<DWORD>(count), &done, nullptr)) {
    return err::MovieIOError;
  }
  got = done;
  position_ += done;
  return err::Success;
}

InstallError SwfFile::seek(std::uint64_t position) {
  if (position > size_) return err::MovieReadBeyondEnd;
  LONG high = static_cast<LONG>(position >> 32);
  const DWORD low = SetFilePointer(asHandle(handle_), static_cast<LONG>(position & 0xFFFFFFFFu),
                                   &high, FILE_BEGIN);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return err::MovieIOError;
  position_ = position;
  return err::Success;
}

InstallError SwfFile::write(const void* data, std::size_t count) {
  DWORD done = 0;
  if (!WriteFile(asHandle(handle_), data, static_cast<DWORD>(count), &done, nullptr) ||
      done != count) {
    return err::DiskWriteError;
  }
  position_ += done;
  if (position_ > size_) size_ = position_;
  return err::Success;
}
