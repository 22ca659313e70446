#pragma once
// A byte buffer from the C heap that frees itself. Allocation failure shows
// as an empty buffer instead of ending the program: sizes read from a
// package are checked against the file first, but the memory may still not
// be there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

class HeapBuffer {
 public:
  explicit HeapBuffer(std::size_t size) : bytes_(static_cast<std::uint8_t*>(std::malloc(size > 0 ? size : 1))) {}
  ~HeapBuffer() { std::free(bytes_); }
  HeapBuffer(const HeapBuffer&) = delete;
  HeapBuffer& operator=(const HeapBuffer&) = delete;

  explicit operator bool() const { return bytes_ != nullptr; }
  std::uint8_t* get() const { return bytes_; }

 private:
  std::uint8_t* bytes_;
};
