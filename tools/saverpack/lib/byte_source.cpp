#include "tools/saverpack/lib/byte_source.h"

#include <algorithm>
#include <cstring>

#include "tools/saverpack/lib/diagnostics.h"

namespace {
bool readSpan(std::span<const std::uint8_t> bytes, std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset > bytes.size() || out.size() > bytes.size() - offset) return false;
  if (!out.empty()) std::memcpy(out.data(), bytes.data() + offset, out.size());
  return true;
}
}  // namespace

FileSource::FileSource(const std::filesystem::path& path) : in_(path, std::ios::binary) {
  std::error_code ec;
  const auto n = std::filesystem::file_size(path, ec);
  if (!in_ || ec) throw ToolError(path.string() + ": cannot open for reading");
  size_ = n;
}

bool FileSource::read(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset > size_ || out.size() > size_ - offset) return false;
  if (out.empty()) return true;
  in_.clear();
  in_.seekg(static_cast<std::streamoff>(offset));
  in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<std::size_t>(in_.gcount()) == out.size();
}

bool MemorySource::read(std::uint64_t offset, std::span<std::uint8_t> out) { return readSpan(bytes_, offset, out); }

bool OwnedMemorySource::read(std::uint64_t offset, std::span<std::uint8_t> out) {
  return readSpan(bytes_, offset, out);
}

WindowSource::WindowSource(ByteSource& parent, std::uint64_t offset, std::uint64_t length)
    : parent_(parent), offset_(offset), length_(0) {
  const std::uint64_t total = parent.size();
  if (offset < total) length_ = std::min(length, total - offset);
}

bool WindowSource::read(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset > length_ || out.size() > length_ - offset) return false;
  return parent_.read(offset_ + offset, out);
}

std::size_t SourceStream::read(std::span<std::uint8_t> out) {
  if (failed_ || left_ == 0) return 0;
  std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), left_));
  const std::uint64_t have = source_.size() > next_ ? source_.size() - next_ : 0;
  n = static_cast<std::size_t>(std::min<std::uint64_t>(n, have));
  if (n == 0 || !source_.read(next_, out.first(n))) {
    failed_ = true;
    return 0;
  }
  next_ += n;
  left_ -= n;
  consumed_ += n;
  return n;
}
