#pragma once
// A Win32 file handle that closes itself, with reads and writes that give
// InstallError values: 0, the system's error number, or the file layer's
// 100 (a block read that ends early) and 101 (a block write that ends early).
#include <windows.h>

#include <cstdint>
#include <string>

#include "installer/install_error.h"

class WinFile {
 public:
  WinFile() = default;
  ~WinFile() { close(); }
  WinFile(const WinFile&) = delete;
  WinFile& operator=(const WinFile&) = delete;

  // Read access; others may read the file meanwhile.
  InstallError openRead(const std::string& path);
  // Creates the file, replacing one of that name, for writing.
  InstallError create(const std::string& path);

  bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Offsets from the file's beginning; the files we read stay below 2 GB.
  InstallError seek(std::uint32_t offset);
  InstallError size(std::uint32_t& bytes) const;
  // Exactly `count` bytes, or 100 when the file ends first.
  InstallError readExact(void* buffer, std::uint32_t count);
  // Up to `count` bytes; `got` says how many arrived (0 at the end).
  InstallError readSome(void* buffer, std::uint32_t count, std::uint32_t& got);
  // All `count` bytes, or 101 when fewer were written.
  InstallError writeAll(const void* buffer, std::uint32_t count);
  // 0 when nothing was open.
  InstallError close();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The length of an existing file (not a folder); false when there is none.
bool fileLengthOf(const std::string& path, std::int64_t& length);
