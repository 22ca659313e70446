#pragma once
// The compressor's input: an owned copy of a byte buffer read from the
// front. (Installer code: malloc, no exceptions.)
#include <cstdint>
#include <cstdlib>
#include <cstring>

class MemoryStream {
 public:
  MemoryStream() = default;
  ~MemoryStream() { release(); }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  // Sizes the stream to `size`, copies the bytes in and rewinds to 0; false
  // when the memory is not there.
  bool assign(const std::uint8_t* data, std::size_t size) {
    release();
    bytes_ = static_cast<std::uint8_t*>(std::malloc(size > 0 ? size : 1));
    if (bytes_ == nullptr) return false;
    if (size > 0) std::memcpy(bytes_, data, size);
    size_ = size;
    return true;
  }

  // Up to `count` bytes from the position; the count delivered.
  std::size_t read(void* buffer, std::size_t count) {
    const std::size_t left = size_ - position_;
    const std::size_t n = count < left ? count : left;
    if (n > 0) std::memcpy(buffer, bytes_ + position_, n);
    position_ += n;
    return n;
  }

  void release() {
    std::free(bytes_);
    bytes_ = nullptr;
    size_ = position_ = 0;
  }

 private:
  std::uint8_t* bytes_ = nullptr;
  std::size_t size_ = 0;
  std::size_t position_ = 0;
};
