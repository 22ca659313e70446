#pragma once
// The best level's encoder: optimal parsing over the format's fixed code
// costs. Every code of the format is fixed, so the cost of each literal and
// each match is known before anything is written, and the cheapest coding
// of a block of positions is a shortest path: positions are nodes, a
// literal or a match an edge weighted by its bits. The match finder
// supplies, at each position, the nearest distance it knows for each match
// length (a nearer distance never costs more bits).
//
// Config gives the match finder, how many positions a block holds and the
// match length that is taken at once (ending the block, which keeps long
// runs linear).
#include <cstring>

#include "dcl/encoder_common.h"

namespace dcl::detail {

template <class Config>
class OptimalParser {
 public:
  using Finder = typename Config::Finder;
  static constexpr std::size_t kBlock = Config::kBlock;
  static constexpr std::size_t kLookahead = kBlock + kMaxMatch;

  struct alignas(8) Work {
    typename Finder::Tables tables;
    // The cheapest way found to each position of the block: its cost in
    // bits (high half) and the step that ends there (length, distance).
    std::uint64_t best[kBlock + 1];
    std::uint8_t out[Config::kOutCapacity];
    std::uint8_t window[Config::kWindowCapacity];
  };
  static_assert(Config::kWindowCapacity >= kMaxDistance + kLookahead + 2048, "each slide should make room for 2K");

  OptimalParser(const StreamIo& io, Work& w, unsigned mode, unsigned dictBits)
      : io_(io), w_(w), finder_(w.tables, 1u << (dictBits + 6)), bits_(io, w.out, Config::kOutCapacity),
        ascii_(mode == kModeAscii), dictBits_(dictBits) {}

  Result run() {
    finder_.reset();
    bits_.put(ascii_ ? kModeAscii : kModeBinary, 8);
    bits_.put(dictBits_, 8);
    fill();
    while (pos_ < filled_ && !bits_.refused()) {
      parseBlock();
      fill();
    }
    return bits_.finish() ? Result::Ok : Result::Abort;
  }

 private:
  // Keeps kLookahead bytes ahead of pos_ while the input lasts, sliding the
  // window back (the dictionary's bytes stay) when the buffer is full.
  void fill() {
    if (eof_ || filled_ - pos_ >= kLookahead) return;
    if (filled_ + 2048 > Config::kWindowCapacity && pos_ > kMaxDistance) {
      const std::size_t shift = pos_ - kMaxDistance;
      std::memmove(w_.window, w_.window + shift, filled_ - shift);
      pos_ -= shift;
      filled_ -= shift;
      base_ += shift;
    }
    eof_ = !readInto(io_, w_.window, Config::kWindowCapacity, filled_);
  }

  unsigned insert(std::size_t i, Match* found) { return finder_.insert({w_.window, base_, filled_}, i, found); }

  static std::uint64_t entry(std::uint32_t cost, unsigned length, unsigned distance) {
    return (std::uint64_t{cost} << 32) | (length << 16) | distance;
  }
  static std::uint32_t costOf(std::uint64_t e) { return static_cast<std::uint32_t>(e >> 32); }
  static unsigned lengthOf(std::uint64_t e) { return static_cast<unsigned>(e >> 16) & 0xFFFF; }
  static unsigned distanceOf(std::uint64_t e) { return static_cast<unsigned>(e) & 0xFFFF; }

  // Without a branch: which of the two is cheaper does not follow a pattern.
  void relax(std::size_t to, std::uint64_t candidate) {
    std::uint64_t& e = w_.best[to];
    e = candidate < e ? candidate : e;
  }

  // Prices every position of the block from pos_ on, then codes the
  // cheapest path. A match of kNiceLength or more ends the block there.
  void parseBlock() {
    const std::size_t start = pos_;
    std::size_t end = filled_ - start < kBlock ? filled_ - start : kBlock;
    w_.best[0] = 0;
    for (std::size_t k = 1; k <= end; ++k) w_.best[k] = ~std::uint64_t{0};
    Match found[kMaxMatch];
    Match longMatch{0, 0};
    std::size_t k = 0;
    for (; k < end; ++k) {
      const unsigned count = insert(start + k, found);
      const std::uint32_t here = costOf(w_.best[k]);
      relax(k + 1, entry(here + literalCost(ascii_, w_.window[start + k]), 1, 0));
      if (count != 0 && found[count - 1].length >= Config::kNiceLength) {
        longMatch = found[count - 1];
        break;
      }
      unsigned length = 2;
      for (unsigned c = 0; c < count; ++c) {
        const Match m = found[c];
        const unsigned top = k + m.length <= end ? m.length : static_cast<unsigned>(end - k);
        if (length == 2 && top >= 2) {
          // Length 2 has its own distance coding and reaches 256 bytes only.
          if (m.distance <= 256) relax(k + 2, entry(here + matchCost(2, m.distance, dictBits_), 2, m.distance));
          length = 3;
        }
        const std::uint64_t withDistance =
            entry(here + kDistanceCodes[(m.distance - 1) >> dictBits_].length + dictBits_, 0, m.distance);
        for (; length <= top; ++length) {
          relax(k + length, withDistance + (std::uint64_t{kLengthEncode[length].length} << 32) + (length << 16));
        }
      }
    }
    emitPath(start, k);
    pos_ = start + k;
    if (longMatch.length != 0) {
      bits_.putMatch(longMatch.length, longMatch.distance, dictBits_);
      for (std::size_t i = pos_ + 1; i < pos_ + longMatch.length; ++i) insert(i, nullptr);
      pos_ += longMatch.length;
    }
  }

  // Turns the steps that reach `end` around so that they read forwards from
  // 0, then codes them.
  void emitPath(std::size_t start, std::size_t end) {
    std::size_t k = end;
    std::uint64_t step = w_.best[k];
    while (k > 0) {
      const std::size_t from = k - lengthOf(step);
      const std::uint64_t earlier = w_.best[from];
      w_.best[from] = step;
      step = earlier;
      k = from;
    }
    for (k = 0; k < end;) {
      const std::uint64_t e = w_.best[k];
      const unsigned length = lengthOf(e);
      if (length == 1) {
        bits_.putLiteral(ascii_, w_.window[start + k]);
      } else {
        bits_.putMatch(length, distanceOf(e), dictBits_);
      }
      k += length;
    }
  }

  const StreamIo& io_;
  Work& w_;
  Finder finder_;
  BitWriter bits_;
  const bool ascii_;
  const unsigned dictBits_;
  std::size_t pos_ = 0;     // index of the next byte to code
  std::size_t filled_ = 0;  // bytes in the window
  std::size_t base_ = 0;    // stream position of window[0]
  bool eof_ = false;
};

}  // namespace dcl::detail
