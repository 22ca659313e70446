#pragma once
// Deliberately plain versions of the format for checking the library against:
// a bit-serial decoder that builds its codes from the code lengths by itself,
// and a packer for writing streams field by field in tests.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dcl/dcl.h"
#include "dcl/dcl_stream.h"
#include "dcl/dcl_tables.h"

namespace dcltest {

// Canonical code from lengths, decoded one bit at a time: the stream sends
// the inverted code, most significant bit first.
class SerialCode {
 public:
  template <std::size_t N>
  explicit SerialCode(const std::uint8_t (&lengths)[N]) {
    for (std::size_t len = 1; len <= 16; ++len) {
      for (std::size_t sym = 0; sym < N; ++sym) {
        if (lengths[sym] == len) sorted_.push_back(static_cast<int>(sym));
      }
      count_[len] = 0;
      for (std::size_t sym = 0; sym < N; ++sym) count_[len] += lengths[sym] == len ? 1 : 0;
    }
  }

  // Returns the symbol, or -1 when the bits run out.
  template <class NextBit>
  int decode(NextBit next) const {
    int code = 0, first = 0, index = 0;
    for (int len = 1; len <= 16; ++len) {
      const int bit = next();
      if (bit < 0) return -1;
      code |= bit ^ 1;
      if (code - first < count_[len]) return sorted_[static_cast<std::size_t>(index + code - first)];
      index += count_[len];
      first = (first + count_[len]) << 1;
      code <<= 1;
    }
    return -1;
  }

 private:
  int count_[17] = {};
  std::vector<int> sorted_;
};

struct Decoded {
  dcl::Result result;
  std::vector<std::uint8_t> out;
};

// Same results as the library: BadData below two bytes or for a distance
// before the start, Abort when the bits end before the end code.
inline Decoded referenceExplode(std::span<const std::uint8_t> in) {
  using namespace dcl::detail;
  static const SerialCode literals(kLiteralCodeLengths);
  static const SerialCode lengths(kLengthCodeLengths);
  static const SerialCode distances(kDistanceCodeLengths);

  Decoded d{dcl::Result::Ok, {}};
  if (in.size() < 2) return {dcl::Result::BadData, {}};
  if (in[1] < 4 || in[1] > 6) return {dcl::Result::InvalidDictionarySize, {}};
  if (in[0] > 1) return {dcl::Result::InvalidMode, {}};
  const bool ascii = in[0] == 1;
  const unsigned dictBits = in[1];

  std::size_t bit = 16;
  auto next = [&]() -> int {
    if (bit >= in.size() * 8) return -1;
    const int b = (in[bit / 8] >> (bit % 8)) & 1;
    ++bit;
    return b;
  };
  auto raw = [&](unsigned count, unsigned& value) {
    value = 0;
    for (unsigned k = 0; k < count; ++k) {
      const int b = next();
      if (b < 0) return false;
      value |= static_cast<unsigned>(b) << k;
    }
    return true;
  };

  for (;;) {
    const int flag = next();
    if (flag < 0) return {dcl::Result::Abort, d.out};
    if (flag == 0) {
      unsigned literal = 0;
      if (ascii) {
        const int sym = literals.decode(next);
        if (sym < 0) return {dcl::Result::Abort, d.out};
        literal = static_cast<unsigned>(sym);
      } else if (!raw(8, literal)) {
        return {dcl::Result::Abort, d.out};
      }
      d.out.push_back(static_cast<std::uint8_t>(literal));
      continue;
    }
    const int sym = lengths.decode(next);
    unsigned extra = 0;
    if (sym < 0 || !raw(kLengthExtraBits[sym], extra)) return {dcl::Result::Abort, d.out};
    const unsigned length = kLengthBase[sym] + extra;
    if (length == 519) return d;
    const int high = distances.decode(next);
    const unsigned lowBits = length == 2 ? 2 : dictBits;
    unsigned low = 0;
    if (high < 0 || !raw(lowBits, low)) return {dcl::Result::Abort, d.out};
    const std::size_t distance = ((static_cast<std::size_t>(high) << lowBits) | low) + 1;
    if (distance > d.out.size()) return {dcl::Result::BadData, d.out};
    for (unsigned k = 0; k < length; ++k) d.out.push_back(d.out[d.out.size() - distance]);
  }
}

// The library's decoder with the 32-bit bit buffer of the DLL's target.
inline Decoded narrowExplode(std::span<const std::uint8_t> in) {
  struct Io {
    std::span<const std::uint8_t> rest;
    std::vector<std::uint8_t> out;
  } io{in, {}};
  const dcl::detail::StreamIo streams{
      [](void* c, std::uint8_t* buffer, std::size_t capacity) {
        auto& self = *static_cast<Io*>(c);
        const std::size_t n = capacity < self.rest.size() ? capacity : self.rest.size();
        for (std::size_t k = 0; k < n; ++k) buffer[k] = self.rest[k];
        self.rest = self.rest.subspan(n);
        return n;
      },
      [](void* c, const std::uint8_t* block, std::size_t length) {
        auto& self = *static_cast<Io*>(c);
        self.out.insert(self.out.end(), block, block + length);
        return true;
      },
      &io};
  std::vector<std::uint8_t> work(dcl::kExplodeWorkSize);
  const dcl::Result result = dcl::detail::explodeStreamNarrow(streams, work.data());
  return {result, io.out};
}

// Writes a stream field by field: raw values least significant bit first,
// Huffman codes as the string of bits in the order they are sent.
class BitPacker {
 public:
  BitPacker(std::uint8_t mode, std::uint8_t dictBits) : bytes_{mode, dictBits} {}

  BitPacker& raw(unsigned value, unsigned count) {
    for (unsigned k = 0; k < count; ++k) bit((value >> k) & 1);
    return *this;
  }
  BitPacker& code(const std::string& sent) {
    for (char c : sent) bit(c == '1' ? 1 : 0);
    return *this;
  }
  std::vector<std::uint8_t> bytes() const { return bytes_; }

 private:
  void bit(unsigned b) {
    if (used_ % 8 == 0) bytes_.push_back(0);
    bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (b << (used_ % 8)));
    ++used_;
  }
  std::vector<std::uint8_t> bytes_;
  std::size_t used_ = 0;
};

}  // namespace dcltest
