#include "system/win_file.h"

namespace {
InstallError lastError() { return static_cast<InstallError>(GetLastError()); }
}  // namespace

InstallError WinFile::openRead(const std::string& path) {
  close();
  handle_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  return isOpen() ? err::Success : lastError();
}

InstallError WinFile::create(const std::string& path) {
  close();
  handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  return isOpen() ? err::Success : lastError();
}

InstallError WinFile::seek(std::uint32_t offset) {
  SetLastError(NO_ERROR);
  const DWORD at = SetFilePointer(handle_, static_cast<LONG>(offset), nullptr, FILE_BEGIN);
  if (at == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return lastError();
  return err::Success;
}

InstallError WinFile::size(std::uint32_t& bytes) const {
  SetLastError(NO_ERROR);
  const DWORD n = GetFileSize(handle_, nullptr);
  if (n == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return lastError();
  bytes = n;
  return err::Success;
}

InstallError WinFile::readSome(void* buffer, std::uint32_t count, std::uint32_t& got) {
  DWORD n = 0;
  got = 0;
  if (!ReadFile(handle_, buffer, count, &n, nullptr)) return lastError();
  got = n;
  return err::Success;
}

InstallError WinFile::readExact(void* buffer, std::uint32_t count) {
  std::uint32_t got = 0;
  const InstallError result = readSome(buffer, count, got);
  if (result != err::Success) return result;
  return got == count ? err::Success : err::ReadBeyondEnd;
}

InstallError WinFile::writeAll(const void* buffer, std::uint32_t count) {
  DWORD n = 0;
  if (!WriteFile(handle_, buffer, count, &n, nullptr)) return lastError();
  return n == count ? err::Success : err::DiskWriteError;
}

InstallError WinFile::close() {
  if (!isOpen()) return err::Success;
  const BOOL closed = CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  return closed ? err::Success : lastError();
}

bool fileLengthOf(const std::string& path, std::int64_t& length) {
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA(path.c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return false;
  FindClose(find);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  length = static_cast<std::int64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
  return true;
}
