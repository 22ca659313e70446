#include "flash/swf_source.h"

#include <cstring>

InstallError SwfByteSource::readExact(void* data, std::size_t count) {
  if (count > remaining()) return err::MovieReadBeyondEnd;
  std::size_t got = 0;
  const InstallError result = read(data, count, got);
  if (result != err::Success) return result;
  return got == count ? err::Success : err::MovieReadBeyondEnd;
}

InstallError SwfByteSource::skip(std::uint64_t count) {
  if (count > remaining()) return err::MovieReadBeyondEnd;
  return seek(position() + count);
}

InstallError SwfMemorySource::read(void* data, std::size_t count, std::size_t& got) {
  got = count < size_ - position_ ? count : size_ - position_;
  if (got > 0) std::memcpy(data, data_ + position_, got);
  position_ += got;
  return err::Success;
}

InstallError SwfMemorySource::seek(std::uint64_t position) {
  if (position > size_) return err::MovieReadBeyondEnd;
  position_ = static_cast<std::size_t>(position);
  return err::Success;
}

InstallError SwfMemorySink::write(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + count);
  return err::Success;
}
