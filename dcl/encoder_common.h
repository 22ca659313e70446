#pragma once
// What both implode levels share: the bit writer over an output block in the
// work area, the exact bit cost of every symbol, and the header check.
#include <cstring>

#include "dcl/dcl_stream.h"
#include "dcl/dcl_tables.h"

namespace dcl::detail {

// Header values from the caller's mode and dictionary size; 0 dictBits when
// the size is not one of the three.
inline unsigned dictBitsFor(unsigned dictionarySize) {
  switch (dictionarySize) {
    case 1024:
      return 4;
    case 2048:
      return 5;
    case 4096:
      return 6;
    default:
      return 0;
  }
}

inline Result checkImplodeArguments(unsigned mode, unsigned dictionarySize) {
  if (dictBitsFor(dictionarySize) == 0) return Result::InvalidDictionarySize;
  if (mode != kModeBinary && mode != kModeAscii) return Result::InvalidMode;
  return Result::Ok;
}

// Bits written least significant first into `block`; full blocks go to the
// writer. Values of up to 16 bits per put.
class BitWriter {
 public:
  static constexpr std::size_t kSlack = 8;

  BitWriter(const StreamIo& io, std::uint8_t* block, std::size_t capacity)
      : io_(io), block_(block), end_(block + capacity - kSlack), next_(block) {}

  void put(unsigned bits, unsigned count) {
    acc_ |= std::uint64_t{bits} << count_;
    count_ += count;
    if (count_ >= 32) {
      const auto word = static_cast<std::uint32_t>(acc_);
      std::memcpy(next_, &word, 4);  // little-endian targets only
      next_ += 4;
      acc_ >>= 32;
      count_ -= 32;
      if (next_ >= end_) flushBlock();
    }
  }

  void putLiteral(bool ascii, std::uint8_t byte) {
    if (ascii) {
      put(kLiteralEncode[byte].bits, kLiteralEncode[byte].length);
    } else {
      put(unsigned{byte} << 1, 9);
    }
  }

  // Format notes: the length (flag, code, extra bits), then the distance
  // code of (distance - 1) >> low and the low bits raw, where low is 2 for a
  // length of 2 and the header's dictionary bits otherwise.
  void putMatch(unsigned length, unsigned distance, unsigned dictBits) {
    put(kLengthEncode[length].bits, kLengthEncode[length].length);
    const unsigned low = length == 2 ? 2 : dictBits;
    const unsigned d = distance - 1;
    const StreamCode c = kDistanceCodes[d >> low];
    put(c.bits | ((d & ((1u << low) - 1)) << c.length), c.length + low);
  }

  // The end code, zero bits up to the next byte, and the last block.
  // Returns false when the writer refused a block.
  bool finish() {
    put(kLengthEncode[kEndLength].bits, kLengthEncode[kEndLength].length);
    while (count_ > 0) {
      *next_++ = static_cast<std::uint8_t>(acc_);
      acc_ >>= 8;
      count_ = count_ > 8 ? count_ - 8 : 0;
    }
    flushBlock();
    return !refused_;
  }

  bool refused() const { return refused_; }

 private:
  void flushBlock() {
    const auto length = static_cast<std::size_t>(next_ - block_);
    if (length != 0 && !refused_ && !io_.write(io_.context, block_, length)) refused_ = true;
    next_ = block_;
  }

  const StreamIo& io_;
  std::uint8_t* const block_;
  std::uint8_t* const end_;
  std::uint8_t* next_;
  std::uint64_t acc_ = 0;
  unsigned count_ = 0;
  bool refused_ = false;
};

// Exact costs in bits.
inline unsigned literalCost(bool ascii, std::uint8_t byte) { return ascii ? kLiteralEncode[byte].length : 9u; }

inline unsigned matchCost(unsigned length, unsigned distance, unsigned dictBits) {
  const unsigned low = length == 2 ? 2 : dictBits;
  return kLengthEncode[length].length + kDistanceCodes[(distance - 1) >> low].length + low;
}

struct Match {
  unsigned length;
  unsigned distance;
};

// What a match finder sees of the encoder's window: the bytes, the stream
// position of window[0] and how many bytes are in.
struct WindowView {
  const std::uint8_t* bytes;
  std::size_t base;
  std::size_t filled;
};

// Length of the common prefix of a and b from `from` on, at most limit.
inline unsigned matchLength(const std::uint8_t* a, const std::uint8_t* b, unsigned from, unsigned limit) {
  unsigned n = from;
  while (n + 8 <= limit) {
    std::uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + static_cast<unsigned>(__builtin_ctzll(x ^ y) >> 3);  // little-endian
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

// Reads until the buffer is full or the input ends; false at the end.
inline bool readInto(const StreamIo& io, std::uint8_t* buffer, std::size_t capacity, std::size_t& filled) {
  while (filled < capacity) {
    std::size_t got = io.read(io.context, buffer + filled, capacity - filled);
    if (got > capacity - filled) got = capacity - filled;
    if (got == 0) return false;
    filled += got;
  }
  return true;
}

// Runs a parser with its work placed at the first 8-byte boundary of `work`.
template <class Parser>
Result runParser(const StreamIo& io, void* work, unsigned mode, unsigned dictionarySize) {
  const Result check = checkImplodeArguments(mode, dictionarySize);
  if (check != Result::Ok) return check;
  auto address = reinterpret_cast<std::uintptr_t>(work);
  address = (address + 7) & ~std::uintptr_t{7};
  Parser parser(io, *reinterpret_cast<typename Parser::Work*>(address), mode, dictBitsFor(dictionarySize));
  return parser.run();
}

}  // namespace dcl::detail
