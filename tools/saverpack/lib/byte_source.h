#pragma once
// Random-access bytes for the readers: a file, a memory block, or a window
// of another source. The verifier and the inspector read only through this,
// so they run the same over a file on disk and over a fuzzer's input.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t size() const = 0;
  // Reads exactly out.size() bytes at `offset`; false when they are not all
  // there or the read fails (the buffer's contents are then unspecified).
  virtual bool read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

class FileSource : public ByteSource {
 public:
  // Opens the file; throws ToolError naming it when it cannot be read.
  explicit FileSource(const std::filesystem::path& path);
  std::uint64_t size() const override { return size_; }
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// Owns its bytes (an expanded entry held for a second look).
class OwnedMemorySource : public ByteSource {
 public:
  explicit OwnedMemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() const override { return bytes_.size(); }
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::vector<std::uint8_t> bytes_;
};

// `length` bytes of `parent` from `offset`, cut to what the parent holds.
class WindowSource : public ByteSource {
 public:
  WindowSource(ByteSource& parent, std::uint64_t offset, std::uint64_t length);
  std::uint64_t size() const override { return length_; }
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  ByteSource& parent_;
  std::uint64_t offset_;
  std::uint64_t length_;
};

// Streams `length` bytes from `offset` in blocks; for the expanding and
// copying loops. A short source ends the stream early (read() returns 0).
class SourceStream {
 public:
  SourceStream(ByteSource& source, std::uint64_t offset, std::uint64_t length)
      : source_(source), next_(offset), left_(length) {}
  // Up to out.size() bytes; 0 at the end or when the source falls short.
  std::size_t read(std::span<std::uint8_t> out);
  std::uint64_t consumed() const { return consumed_; }
  bool failed() const { return failed_; }

 private:
  ByteSource& source_;
  std::uint64_t next_;
  std::uint64_t left_;
  std::uint64_t consumed_ = 0;
  bool failed_ = false;
};
