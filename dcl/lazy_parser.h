#pragma once
// The default level's parse: the longest match at each position, with one
// step of lazy evaluation as deflate does it, but decided on the format's
// exact bit costs: a match is held while the next position is searched, and
// when the match there costs less (with the literal before it), the held
// position goes out as a literal.
#include <cstring>

#include "dcl/encoder_common.h"

namespace dcl::detail {

template <class Config>
class LazyParser {
 public:
  using Finder = typename Config::Finder;
  static constexpr std::size_t kLookahead = kMaxMatch + 2;  // a match and the lazy one after it

  struct alignas(8) Work {
    typename Finder::Tables tables;
    std::uint8_t out[Config::kOutCapacity];
    std::uint8_t window[Config::kWindowCapacity];
  };
  static_assert(Config::kWindowCapacity >= kMaxDistance + 1 + kLookahead + 2048, "each slide should make room for 2K");

  LazyParser(const StreamIo& io, Work& w, unsigned mode, unsigned dictBits)
      : io_(io), w_(w), finder_(w.tables, 1u << (dictBits + 6)), bits_(io, w.out, Config::kOutCapacity),
        ascii_(mode == kModeAscii), dictBits_(dictBits) {}

  Result run() {
    finder_.reset();
    bits_.put(ascii_ ? kModeAscii : kModeBinary, 8);
    bits_.put(dictBits_, 8);
    encodeAll();
    return bits_.finish() ? Result::Ok : Result::Abort;
  }

 private:
  // Keeps kLookahead bytes ahead of pos_ while the input lasts, sliding the
  // window back (the dictionary and a held literal stay) when it is full.
  void fill() {
    if (eof_ || filled_ - pos_ >= kLookahead) return;
    if (filled_ + 2048 > Config::kWindowCapacity && pos_ > kMaxDistance + 1) {
      const std::size_t shift = pos_ - kMaxDistance - 1;
      std::memmove(w_.window, w_.window + shift, filled_ - shift);
      pos_ -= shift;
      filled_ -= shift;
      base_ += shift;
    }
    eof_ = !readInto(io_, w_.window, Config::kWindowCapacity, filled_);
  }

  // The longest match at index i of `atLeast` bytes or more (length 0 when
  // there is none, or when it would cost more than its literals); enters i.
  Match search(std::size_t i, unsigned atLeast) {
    const Match m = finder_.find({w_.window, base_, filled_}, i, atLeast, Config::kDepth, Config::kNiceLength);
    return m.length != 0 && saves(i, m) ? m : Match{0, 0};
  }

  // A match of 5 bytes or more always costs less than its literals: at
  // length 5 at most 18 bits against at least 25, and each further byte adds
  // at most 2 bits to the match and at least 5 to the literals. Shorter ones
  // are weighed.
  bool saves(std::size_t i, Match m) const {
    if (m.length >= 5) return true;
    unsigned literals = 9 * m.length;
    if (ascii_) {
      literals = 0;
      for (unsigned k = 0; k < m.length; ++k) literals += literalCost(true, w_.window[i + k]);
    }
    return matchCost(m.length, m.distance, dictBits_) < literals;
  }

  // Whether a literal at i - 1 and then `later` at i cost less than `held`
  // at i - 1, the shorter of the two spans made up at an estimated
  // Config::kFollowCost quarter bits per byte.
  bool betterLater(Match held, Match later, std::size_t i) const {
    const unsigned laterSpan = later.length + 1;
    const unsigned span = laterSpan > held.length ? laterSpan : held.length;
    const unsigned costHeld = matchCost(held.length, held.distance, dictBits_) * 4 + Config::kFollowCost * (span - held.length);
    const unsigned costLater = (literalCost(ascii_, w_.window[i - 1]) + matchCost(later.length, later.distance, dictBits_)) * 4 +
                               Config::kFollowCost * (span - laterSpan);
    return costLater < costHeld;
  }

  // Codes the match at index i, whose first `entered` positions the finder
  // has seen, and enters the rest of the bytes it covers.
  void emitMatch(std::size_t i, Match m, unsigned entered) {
    bits_.putMatch(m.length, m.distance, dictBits_);
    for (std::size_t k = i + entered; k < i + m.length; ++k) finder_.enter({w_.window, base_, filled_}, k);
  }

  void encodeAll() {
    bool pending = false;
    Match held{0, 0};
    for (;;) {
      fill();
      if (pos_ >= filled_ || bits_.refused()) break;
      const Match m = search(pos_, pending ? held.length : 2);
      if (pending) {
        if (m.length == 0 || !betterLater(held, m, pos_)) {
          emitMatch(pos_ - 1, held, 2);
          pos_ += held.length - 1;
          pending = false;
          continue;
        }
        bits_.putLiteral(ascii_, w_.window[pos_ - 1]);
      }
      if (m.length >= Config::kGoodLength) {
        emitMatch(pos_, m, 1);
        pos_ += m.length;
        pending = false;
      } else if (m.length != 0) {
        held = m;
        pending = true;
        ++pos_;
      } else {
        bits_.putLiteral(ascii_, w_.window[pos_]);
        pending = false;
        ++pos_;
      }
    }
    if (pending) bits_.putMatch(held.length, held.distance, dictBits_);
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
