#pragma once
// Little-endian field readers and writers over byte spans. Every read checks
// the bounds first; a reader that ran out stays failed, so a decoder can read
// a whole record and test ok() once.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return ok_ ? bytes_.size() - pos_ : 0; }

  std::uint8_t u8() {
    std::uint8_t v = 0;
    take(&v, 1);
    return v;
  }
  std::uint16_t u16() {
    std::uint8_t b[2] = {};
    take(b, 2);
    return static_cast<std::uint16_t>(b[0] | b[1] << 8);
  }
  std::uint32_t u32() {
    std::uint8_t b[4] = {};
    take(b, 4);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
  }
  std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
  void bytes(void* out, std::size_t n) { take(out, n); }
  void skip(std::size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      return;
    }
    pos_ += n;
  }

 private:
  void take(void* out, std::size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      std::memset(out, 0, n);
      return;
    }
    std::memcpy(out, bytes_.data() + pos_, n);
    pos_ += n;
  }

  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

// Writes into a fixed span; writing past its end fails the writer.
class ByteWriter {
 public:
  explicit ByteWriter(std::span<std::uint8_t> bytes) : bytes_(bytes) {}

  bool ok() const { return ok_; }
  std::size_t position() const { return pos_; }

  void u8(std::uint8_t v) { put(&v, 1); }
  void u16(std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    put(b, 2);
  }
  void u32(std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    put(b, 4);
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void bytes(const void* in, std::size_t n) { put(in, n); }
  void zeros(std::size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      return;
    }
    std::memset(bytes_.data() + pos_, 0, n);
    pos_ += n;
  }

 private:
  void put(const void* in, std::size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
      ok_ = false;
      return;
    }
    std::memcpy(bytes_.data() + pos_, in, n);
    pos_ += n;
  }

  std::span<std::uint8_t> bytes_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};
