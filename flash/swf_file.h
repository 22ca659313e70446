#pragma once
// A movie file or one of its temporary copies as a byte source or sink.
// Bodies: swf_file_win.cpp (Win32) and swf_file_host.cpp (stdio on the host).
#include <cstdint>
#include <string>

#include "flash/swf_source.h"

class SwfFile final : public SwfByteSource, public SwfByteSink {
 public:
  SwfFile() = default;
  ~SwfFile() override;
  SwfFile(const SwfFile&) = delete;
  SwfFile& operator=(const SwfFile&) = delete;

  // True when `path` names an existing file (not a folder).
  static bool exists(const std::string& path);

  // Opens for reading, others may read but not write. 0 or the system's
  // error number.
  InstallError openRead(const std::string& path);
  // Creates or empties a file for writing. 0 or the system's error number.
  InstallError create(const std::string& path);
  // Closing a written file flushes it: 0 or err::DiskWriteError.
  InstallError close();

  InstallError read(void* data, std::size_t count, std::size_t& got) override;
  InstallError seek(std::uint64_t position) override;
  std::uint64_t position() const override { return position_; }
  std::uint64_t size() const override { return size_; }
  InstallError write(const void* data, std::size_t count) override;

 private:
  void* handle_ = nullptr;
  std::uint64_t position_ = 0;
  std::uint64_t size_ = 0;
};
