// The default encoder: hash chains over 3-byte prefixes, a table of the last
// position of each 2-byte pair for the short matches, and one step of lazy
// evaluation (as deflate does), all within the 36,312-byte work area.
//
// Positions in the hash tables are stored as their low 16 bits; a candidate's
// distance is the 16-bit difference to the current position. A stale or
// aliased entry can only name some other position inside the window, whose
// bytes are compared before use, so the output is right whatever the tables
// hold. Chains are followed only while the distance grows.
#include <cstring>

#include "dcl/encoder_common.h"

namespace dcl::detail {
namespace {

constexpr unsigned kHashBits = 12;
constexpr unsigned kPairHashBits = 10;
constexpr std::size_t kChainSize = kMaxDistance;  // one link per window position
constexpr std::size_t kOutCapacity = 2048;
constexpr std::size_t kLookahead = kMaxMatch + 2;  // the current match and the lazy one after it

// Search effort: candidates per position, and lengths that end the search
// or skip the lazy step.
constexpr unsigned kMaxChain = 24;
constexpr unsigned kNiceLength = 96;
constexpr unsigned kGoodLength = 24;

struct alignas(8) ImplodeWork {
  std::uint16_t head[1u << kHashBits];
  std::uint16_t chain[kChainSize];
  std::uint16_t pairHead[1u << kPairHashBits];
  std::uint8_t out[kOutCapacity];
  std::uint8_t window[(kImplodeWorkSize - 7 - sizeof(head) - sizeof(chain) - sizeof(pairHead) - kOutCapacity) & ~std::size_t{7}];
};
static_assert(sizeof(ImplodeWork) + 7 <= kImplodeWorkSize, "the work area holds the aligned state");
constexpr std::size_t kWindowCapacity = sizeof(ImplodeWork::window);
static_assert(kWindowCapacity >= 2 * kMaxDistance + kLookahead + 1024, "the window must outlast a slide");

struct Match {
  unsigned length;
  unsigned distance;
};

inline unsigned hash3(const std::uint8_t* p) {
  const std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
  return (v * 0x9E3779B1u) >> (32 - kHashBits);
}

inline unsigned hash2(const std::uint8_t* p) {
  const std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8);
  return (v * 0x9E3779B1u) >> (32 - kPairHashBits);
}

// Common prefix length of a and b, at most limit.
inline unsigned matchLength(const std::uint8_t* a, const std::uint8_t* b, unsigned limit) {
  unsigned n = 0;
  while (n + 8 <= limit) {
    std::uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + static_cast<unsigned>(__builtin_ctzll(x ^ y) >> 3);
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

class Imploder {
 public:
  Imploder(const StreamIo& io, ImplodeWork& w, unsigned mode, unsigned dictBits)
      : io_(io), w_(w), bits_(io, w.out, kOutCapacity), ascii_(mode == kModeAscii), dictBits_(dictBits),
        maxDistance_(1u << (dictBits + 6)) {}

  Result run() {
    std::memset(w_.head, 0, sizeof w_.head);
    std::memset(w_.chain, 0, sizeof w_.chain);
    std::memset(w_.pairHead, 0, sizeof w_.pairHead);
    bits_.put(ascii_ ? kModeAscii : kModeBinary, 8);
    bits_.put(dictBits_, 8);
    fill();
    encodeAll();
    return bits_.finish() ? Result::Ok : Result::Abort;
  }

 private:
  // Keeps at least kLookahead bytes ahead of pos_ while the input lasts,
  // sliding the window back when the buffer is full.
  void fill() {
    if (eof_ || filled_ - pos_ >= kLookahead) return;
    if (filled_ == kWindowCapacity) {
      const std::size_t keep = kMaxDistance + 1;  // the window and a pending literal
      const std::size_t shift = pos_ - keep;
      std::memmove(w_.window, w_.window + shift, filled_ - shift);
      pos_ -= shift;
      filled_ -= shift;
      base_ += shift;
    }
    eof_ = !readInto(io_, w_.window, kWindowCapacity, filled_);
  }

  std::size_t absolute(std::size_t i) const { return base_ + i; }

  // Distance limit at index i: the dictionary, or the bytes seen so far.
  unsigned reach(std::size_t i) const {
    const std::size_t seen = absolute(i);
    return seen < maxDistance_ ? static_cast<unsigned>(seen) : maxDistance_;
  }

  void insert(std::size_t i) {
    if (i + 3 > filled_) return;
    const std::uint8_t* p = w_.window + i;
    const auto stamp = static_cast<std::uint16_t>(absolute(i));
    const unsigned h = hash3(p);
    w_.chain[absolute(i) & (kChainSize - 1)] = w_.head[h];
    w_.head[h] = stamp;
    w_.pairHead[hash2(p)] = stamp;
  }

  // The longest match at index i (searching before inserting i), or a
  // length-2 match from the pair table; length 0 when there is none.
  Match findMatch(std::size_t i, unsigned minLength) {
    Match best{0, 0};
    const std::size_t available = filled_ - i;
    if (available < 2) return best;
    const unsigned limit = available < kMaxMatch ? static_cast<unsigned>(available) : kMaxMatch;
    const unsigned reachable = reach(i);
    const std::uint8_t* const here = w_.window + i;
    const auto now = static_cast<std::uint16_t>(absolute(i));
    unsigned bestLength = minLength > 2 ? minLength - 1 : 2;
    if (limit >= 3 && bestLength < limit) {
      unsigned distance = static_cast<std::uint16_t>(now - w_.head[hash3(here)]);
      unsigned chain = bestLength >= kGoodLength ? kMaxChain / 4 : kMaxChain;
      while (distance != 0 && distance <= reachable && chain-- != 0) {
        const std::uint8_t* const there = here - distance;
        if (there[bestLength] == here[bestLength]) {
          const unsigned length = matchLength(there, here, limit);
          if (length > bestLength) {
            bestLength = length;
            best = {length, distance};
            if (length >= kNiceLength || length == limit) break;
          }
        }
        const std::size_t link = (absolute(i) - distance) & (kChainSize - 1);
        const unsigned next = static_cast<std::uint16_t>(now - w_.chain[link]);
        if (next <= distance) break;
        distance = next;
      }
    }
    if (best.length == 0 && minLength <= 2) {
      const unsigned distance = static_cast<std::uint16_t>(now - w_.pairHead[hash2(here)]);
      if (distance != 0 && distance <= 256 && distance <= reachable && here[-static_cast<std::ptrdiff_t>(distance)] == here[0] &&
          here[1 - static_cast<std::ptrdiff_t>(distance)] == here[1]) {
        best = {2, distance};
      }
    }
    return best;
  }

  // A match shorter than 5 bytes can cost more than its literals (and a
  // length-2 match at a far distance always does).
  bool pays(std::size_t i, Match m) const {
    if (m.length == 0) return false;
    if (m.length >= 5) return true;
    unsigned literals = 0;
    for (unsigned k = 0; k < m.length; ++k) literals += literalCost(ascii_, w_.window[i + k]);
    return matchCost(m.length, m.distance, dictBits_) < literals;
  }

  // Codes the match at index i, whose first `inserted` positions are in the
  // tables already, and enters the rest of the bytes it covers.
  void emitMatch(std::size_t i, Match m, unsigned inserted) {
    bits_.putMatch(m.length, m.distance, dictBits_);
    for (std::size_t k = i + inserted; k < i + m.length; ++k) insert(k);
  }

  // Lazy evaluation: a match found at pos_ is held while the next position
  // is searched; when that one is longer, pos_ goes out as a literal.
  void encodeAll() {
    bool pending = false;
    Match held{0, 0};
    for (;;) {
      fill();
      if (pos_ >= filled_) break;
      Match m = findMatch(pos_, pending ? held.length + 1 : 2);
      insert(pos_);
      if (!pays(pos_, m)) m.length = 0;
      if (pending) {
        if (m.length <= held.length) {
          emitMatch(pos_ - 1, held, 2);
          pos_ += held.length - 1;
          pending = false;
          continue;
        }
        bits_.putLiteral(ascii_, w_.window[pos_ - 1]);
      }
      if (m.length >= kGoodLength) {
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
  ImplodeWork& w_;
  BitWriter bits_;
  const bool ascii_;
  const unsigned dictBits_;
  const unsigned maxDistance_;
  std::size_t pos_ = 0;     // index of the next byte to encode
  std::size_t filled_ = 0;  // bytes in the window
  std::size_t base_ = 0;    // stream position of window[0]
  bool eof_ = false;
};

}  // namespace

Result implodeStream(const StreamIo& io, void* work, unsigned mode, unsigned dictionarySize) {
  const Result check = checkImplodeArguments(mode, dictionarySize);
  if (check != Result::Ok) return check;
  auto address = reinterpret_cast<std::uintptr_t>(work);
  address = (address + 7) & ~std::uintptr_t{7};
  Imploder imploder(io, *reinterpret_cast<ImplodeWork*>(address), mode, dictBitsFor(dictionarySize));
  return imploder.run();
}

}  // namespace dcl::detail
