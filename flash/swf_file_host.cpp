#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "flash/swf_file.h"

namespace {
std::FILE* asFile(void* handle) { return static_cast<std::FILE*>(handle); }

InstallError lastErrno() { return errno != 0 ? static_cast<InstallError>(errno) : err::MovieIOError; }
}  // namespace

SwfFile::~SwfFile() { close(); }

bool SwfFile::exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

InstallError SwfFile::openRead(const std::string& path) {
  close();
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return lastErrno();
  struct stat info {};
  if (::fstat(fileno(f), &info) != 0) {
    const InstallError code = lastErrno();
    std::fclose(f);
    return code;
  }
  handle_ = f;
  size_ = static_cast<std::uint64_t>(info.st_size);
  position_ = 0;
  return err::Success;
}

InstallError SwfFile::create(const std::string& path) {
  close();
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return lastErrno();
  handle_ = f;
  size_ = 0;
  position_ = 0;
  return err::Success;
}

InstallError SwfFile::close() {
  const bool closed = handle_ == nullptr || std::fclose(asFile(handle_)) == 0;
  handle_ = nullptr;
  return closed ? err::Success : err::DiskWriteError;
}

InstallError SwfFile::read(void* data, std::size_t count, std::size_t& got) {
  got = std::fread(data, 1, count, asFile(handle_));
  position_ += got;
  return got < count && std::ferror(asFile(handle_)) ? err::MovieIOError : err::Success;
}

InstallError SwfFile::seek(std::uint64_t position) {
  if (position > size_) return err::MovieReadBeyondEnd;
  if (::fseeko(asFile(handle_), static_cast<off_t>(position), SEEK_SET) != 0) {
    return err::MovieIOError;
  }
  position_ = position;
  return err::Success;
}

InstallError SwfFile::write(const void* data, std::size_t count) {
  if (std::fwrite(data, 1, count, asFile(handle_)) != count) return err::DiskWriteError;
  position_ += count;
  if (position_ > size_) size_ = position_;
  return err::Success;
}
