#pragma once
// A file written under a temporary name in the target's own folder and
// renamed into place only by commit(): a failed or interrupted build never
// leaves a partial file under the target name. Writes may seek back (a
// directory filled in last, an entry rewritten stored); commit() cuts the
// file to the size given.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

class OutputFile {
 public:
  // Throws ToolError naming the target when the temporary file cannot be made.
  explicit OutputFile(std::filesystem::path target);
  ~OutputFile();  // removes the temporary file unless committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(std::span<const std::uint8_t> bytes);  // throws ToolError on failure
  std::uint64_t position();
  void seek(std::uint64_t offset);
  // Flushes, cuts the file to `size` bytes and renames it to the target.
  void commit(std::uint64_t size);

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& temporaryPath() const { return temp_; }

 private:
  void fail(const char* what);

  std::filesystem::path target_;
  std::filesystem::path temp_;
  std::fstream out_;
  bool committed_ = false;
};

// A scratch file removed when this goes out of scope (a data file built on
// the fly before it is packed as slot 8).
class ScratchFile {
 public:
  explicit ScratchFile(std::filesystem::path path) : path_(std::move(path)) {}
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A name beside `target` that no other file has: "<name>.<random>.tmp".
std::filesystem::path temporaryNameBeside(const std::filesystem::path& target);
