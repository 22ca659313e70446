#pragma once
// The byte streams the movie reader works over: a file on either platform, or
// memory in the tests and the fuzz target. Reads are bounded by the size of
// what is there; the reader never trusts a length it has not checked.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "installer/install_error.h"

class SwfByteSource {
 public:
  virtual ~SwfByteSource() = default;
  // Reads up to `count` bytes; `got` is less only at the end. A failed read
  // gives err::MovieIOError.
  virtual InstallError read(void* data, std::size_t count, std::size_t& got) = 0;
  virtual InstallError seek(std::uint64_t position) = 0;
  virtual std::uint64_t position() const = 0;
  virtual std::uint64_t size() const = 0;

  std::uint64_t remaining() const { return size() - position(); }
  // Exactly `count` bytes or err::MovieReadBeyondEnd, checked before reading.
  InstallError readExact(void* data, std::size_t count);
  // Passes over `count` bytes by seeking, within the source.
  InstallError skip(std::uint64_t count);
};

class SwfByteSink {
 public:
  virtual ~SwfByteSink() = default;
  // All of `count` bytes, or err::DiskWriteError.
  virtual InstallError write(const void* data, std::size_t count) = 0;
};

// A source over bytes the caller keeps alive.
class SwfMemorySource final : public SwfByteSource {
 public:
  SwfMemorySource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  InstallError read(void* data, std::size_t count, std::size_t& got) override;
  InstallError seek(std::uint64_t position) override;
  std::uint64_t position() const override { return position_; }
  std::uint64_t size() const override { return size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

class SwfMemorySink final : public SwfByteSink {
 public:
  InstallError write(const void* data, std::size_t count) override;
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};
