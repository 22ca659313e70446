// CRC-32 over the reflected polynomial 0xEDB88320, four bytes per step from
// four tables computed at compile time.
#include <array>
#include <cstring>

#include "dcl/dcl_stream.h"

namespace dcl::detail {
namespace {

using CrcTables = std::array<std::array<std::uint32_t, 256>, 4>;

constexpr CrcTables makeTables() {
  CrcTables t{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    t[0][i] = c;
  }
  for (std::size_t i = 0; i < 256; ++i) {
    for (std::size_t k = 1; k < 4; ++k) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
  }
  return t;
}

constexpr CrcTables kTables = makeTables();

}  // namespace

std::uint32_t crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t length) {
  while (length >= 4) {
    std::uint32_t word;
    std::memcpy(&word, data, 4);  // little-endian targets only
    crc ^= word;
    crc = kTables[3][crc & 0xFF] ^ kTables[2][(crc >> 8) & 0xFF] ^ kTables[1][(crc >> 16) & 0xFF] ^
          kTables[0][crc >> 24];
    data += 4;
    length -= 4;
  }
  while (length-- != 0) crc = kTables[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8);
  return crc;
}

}  // namespace dcl::detail
