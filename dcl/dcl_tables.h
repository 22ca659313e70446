#pragma once
// The fixed code tables of the implode format and the encode/decode tables
// derived from them at compile time (no table is built at run time).
//
// Format notes:
// - Every Huffman code of the format is fixed. A code is given by its length
//   per symbol; codes are canonical (shorter codes first, symbols in order
//   within one length), then every bit is inverted, and the code is sent
//   from its most significant bit on. So the first code of the shortest
//   length is all ones and the last code of the longest length all zeros.
// - The stream is read from the least significant bit of each byte on. Raw
//   values (uncoded literals, extra length bits, low distance bits) are sent
//   least significant bit first.
#include <array>
#include <cstddef>
#include <cstdint>

namespace dcl::detail {

// Code lengths of the 256 literals in ASCII mode.
inline constexpr std::uint8_t kLiteralCodeLengths[256] = {
    11, 12, 12, 12, 12, 12, 12, 12, 12, 8,  7,  12, 12, 7,  12, 12,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 13, 12, 12, 12, 12, 12,  //
    4,  10, 8,  12, 10, 12, 10, 8,  7,  7,  8,  9,  7,  6,  7,  8,   //
    7,  6,  7,  7,  7,  7,  8,  7,  7,  8,  8,  12, 11, 7,  9,  11,  //
    12, 6,  7,  6,  6,  5,  7,  8,  8,  6,  11, 9,  6,  7,  6,  6,   //
    7,  11, 6,  6,  6,  7,  9,  8,  9,  9,  11, 8,  11, 9,  12, 8,   //
    12, 5,  6,  6,  6,  5,  6,  6,  6,  5,  11, 7,  5,  6,  5,  5,   //
    6,  10, 5,  5,  5,  5,  8,  7,  8,  8,  10, 11, 11, 12, 12, 12,  //
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  //
    12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12,  //
    13, 12, 13, 13, 13, 12, 13, 13, 13, 12, 13, 13, 13, 13, 12, 13,  //
    13, 13, 12, 12, 12, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13,  //
};

// The 16 length symbols: code length, base length and count of extra bits.
// Symbol 0 is length 3 (the shortest code), symbol 1 length 2.
inline constexpr std::uint8_t kLengthCodeLengths[16] = {2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 7, 7};
inline constexpr std::uint16_t kLengthBase[16] = {3, 2, 4, 5, 6, 7, 8, 9, 10, 12, 16, 24, 40, 72, 136, 264};
inline constexpr std::uint8_t kLengthExtraBits[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};

// The 64 symbols of a distance's high bits.
inline constexpr std::uint8_t kDistanceCodeLengths[64] = {
    2, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6,  //
    6, 6, 6, 6, 6, 6, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,  //
    7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,  //
    8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8,  //
};

inline constexpr unsigned kMinMatch = 2;
inline constexpr unsigned kMaxMatch = 518;
inline constexpr unsigned kEndLength = 519;  // the end-of-stream code
inline constexpr unsigned kMaxLiteralCodeBits = 13;
inline constexpr unsigned kMaxLengthCodeBits = 7;
inline constexpr unsigned kMaxDistanceCodeBits = 8;

// A symbol's code as it goes into the stream: bit 0 is sent first.
struct StreamCode {
  std::uint16_t bits;
  std::uint8_t length;
};

template <std::size_t N>
constexpr std::array<StreamCode, N> streamCodes(const std::uint8_t (&lengths)[N]) {
  std::array<StreamCode, N> codes{};
  unsigned code = 0;
  for (unsigned len = 1; len <= 16; ++len) {
    for (std::size_t sym = 0; sym < N; ++sym) {
      if (lengths[sym] != len) continue;
      const unsigned inverted = ~code & ((1u << len) - 1);
      unsigned reversed = 0;
      for (unsigned b = 0; b < len; ++b) reversed |= ((inverted >> b) & 1u) << (len - 1 - b);
      codes[sym] = {static_cast<std::uint16_t>(reversed), static_cast<std::uint8_t>(len)};
      ++code;
    }
    code <<= 1;
  }
  return codes;
}

// True when the lengths describe a complete prefix code (every bit string
// decodes), which lets the decoders skip any "invalid code" case.
template <std::size_t N>
constexpr bool isCompleteCode(const std::uint8_t (&lengths)[N]) {
  unsigned long long sum = 0;
  for (std::uint8_t len : lengths) sum += 1ull << (16 - len);
  return sum == (1ull << 16);
}

static_assert(isCompleteCode(kLiteralCodeLengths));
static_assert(isCompleteCode(kLengthCodeLengths));
static_assert(isCompleteCode(kDistanceCodeLengths));

inline constexpr auto kLiteralCodes = streamCodes(kLiteralCodeLengths);
inline constexpr auto kLengthCodes = streamCodes(kLengthCodeLengths);
inline constexpr auto kDistanceCodes = streamCodes(kDistanceCodeLengths);

// Decoding: one lookup on the next k stream bits gives the symbol and its
// code length (every index whose low `length` bits are the code).
struct DecodeEntry {
  std::uint8_t symbol;
  std::uint8_t length;
};

template <unsigned IndexBits, std::size_t N>
constexpr std::array<DecodeEntry, (1u << IndexBits)> decodeTable(const std::array<StreamCode, N>& codes) {
  std::array<DecodeEntry, (1u << IndexBits)> table{};
  for (std::size_t sym = 0; sym < N; ++sym) {
    const StreamCode c = codes[sym];
    for (unsigned i = c.bits; i < (1u << IndexBits); i += 1u << c.length) {
      table[i] = {static_cast<std::uint8_t>(sym), c.length};
    }
  }
  return table;
}

inline constexpr auto kLiteralDecode = decodeTable<kMaxLiteralCodeBits>(kLiteralCodes);
inline constexpr auto kDistanceDecode = decodeTable<kMaxDistanceCodeBits>(kDistanceCodes);

// Length decoding: the whole length (code and extra bits) from one lookup on
// 7 code bits: base, code bits, extra bits.
struct LengthDecodeEntry {
  std::uint16_t base;
  std::uint8_t codeBits;
  std::uint8_t extraBits;
};

constexpr std::array<LengthDecodeEntry, 128> lengthDecodeTable() {
  std::array<LengthDecodeEntry, 128> table{};
  const auto symbols = decodeTable<kMaxLengthCodeBits>(kLengthCodes);
  for (unsigned i = 0; i < 128; ++i) {
    const DecodeEntry e = symbols[i];
    table[i] = {kLengthBase[e.symbol], e.length, kLengthExtraBits[e.symbol]};
  }
  return table;
}

inline constexpr auto kLengthDecode = lengthDecodeTable();

// Encoding a length 2..519: the flag bit 1, the length code and its extra
// bits, as one value of at most 16 bits.
constexpr std::array<StreamCode, kEndLength + 1> lengthEncodeTable() {
  std::array<StreamCode, kEndLength + 1> table{};
  for (unsigned sym = 0; sym < 16; ++sym) {
    const unsigned count = 1u << kLengthExtraBits[sym];
    for (unsigned extra = 0; extra < count; ++extra) {
      const unsigned len = kLengthBase[sym] + extra;
      const StreamCode c = kLengthCodes[sym];
      const unsigned bits = 1u | (unsigned{c.bits} << 1) | (extra << (1 + c.length));
      table[len] = {static_cast<std::uint16_t>(bits),
                    static_cast<std::uint8_t>(1 + c.length + kLengthExtraBits[sym])};
    }
  }
  return table;
}

inline constexpr auto kLengthEncode = lengthEncodeTable();

// Encoding a literal: the flag bit 0 and the literal's code (ASCII mode).
constexpr std::array<StreamCode, 256> literalEncodeTable() {
  std::array<StreamCode, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    table[b] = {static_cast<std::uint16_t>(kLiteralCodes[b].bits << 1),
                static_cast<std::uint8_t>(kLiteralCodes[b].length + 1)};
  }
  return table;
}

inline constexpr auto kLiteralEncode = literalEncodeTable();

// Header values: mode byte and the count of low distance bits, which is the
// base-2 logarithm of the dictionary size minus 6.
inline constexpr std::uint8_t kModeBinary = 0;
inline constexpr std::uint8_t kModeAscii = 1;
inline constexpr unsigned kMinDictBits = 4;
inline constexpr unsigned kMaxDictBits = 6;
inline constexpr unsigned kMaxDistance = 4096;

}  // namespace dcl::detail
