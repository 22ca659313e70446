#pragma once
// Inputs for the round-trip and malformed-stream tests: small edge cases and
// data shaped to reach every length, distance and buffer boundary.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace dcltest {

using Bytes = std::vector<std::uint8_t>;

struct NamedInput {
  std::string name;
  Bytes data;
};

inline Bytes randomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

// Words drawn from a small vocabulary: typical text statistics.
inline Bytes text(std::size_t n, unsigned seed) {
  static const char* const words[] = {"the ",   "screen ", "saver ",  "installs ", "into ",  "a ",
                                      "folder ", "of ",     "its ",    "own, ",     "and\r\n", "Flash ",
                                      "movie ",  "plays ",  "when ",   "idle. ",    "Setup ",  "\tok "};
  std::mt19937 rng(seed);
  Bytes b;
  while (b.size() < n) {
    const std::string w = words[rng() % (sizeof words / sizeof *words)];
    b.insert(b.end(), w.begin(), w.end());
  }
  b.resize(n);
  return b;
}

// Random blocks, each followed by copies from every distance up to 4,096, so
// that the farthest distances and the window slides are all exercised.
inline Bytes farRepeats(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b = randomBytes(4096, seed);
  while (b.size() < n) {
    const std::size_t distance = 1 + rng() % 4096;
    const std::size_t length = 2 + rng() % 40;
    for (std::size_t k = 0; k < length; ++k) b.push_back(b[b.size() - distance]);
    b.push_back(static_cast<std::uint8_t>(rng()));
  }
  b.resize(n);
  return b;
}

// Runs around the longest match length, with single bytes between them.
inline Bytes runs() {
  Bytes b;
  for (std::size_t len : {1u, 2u, 3u, 517u, 518u, 519u, 520u, 1036u, 1037u, 5000u}) {
    b.insert(b.end(), len, static_cast<std::uint8_t>(len));
    b.push_back(0xAA);
  }
  return b;
}

// Fixed-size records with counters: structured binary data.
inline Bytes records(std::size_t n) {
  Bytes b;
  for (std::uint32_t i = 0; b.size() < n; ++i) {
    const std::uint8_t rec[12] = {0x4D, 0x5A, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0, 0,
                                  0xFF, 0xFF, static_cast<std::uint8_t>(i * 3), 0, 0x10, 0};
    b.insert(b.end(), rec, rec + 12);
  }
  b.resize(n);
  return b;
}

inline std::vector<NamedInput> roundTripInputs() {
  return {
      {"Empty", {}},
      {"OneByte", {0x41}},
      {"TwoBytes", {0x00, 0x00}},
      {"ThreeEqualBytes", {7, 7, 7}},
      {"PairRepeat", {'a', 'b', 'a', 'b'}},
      {"Random70K", randomBytes(70000, 1)},
      {"Zeros100K", Bytes(100000, 0)},
      {"Text120K", text(120000, 2)},
      {"FarRepeats200K", farRepeats(200000, 3)},
      {"Runs", runs()},
      {"Records50K", records(50000)},
      {"AllByteValues", [] {
         Bytes b;
         for (int r = 0; r < 3; ++r)
           for (int i = 0; i < 256; ++i) b.push_back(static_cast<std::uint8_t>(i));
         return b;
       }()},
  };
}

}  // namespace dcltest
