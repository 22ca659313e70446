#pragma once
// The default level's match finder, small enough for the 36,312-byte work
// area: hash chains over 3-byte prefixes for matches of 3 bytes or more, and
// the last position of each 2-byte hash for the nearest 2-byte match.
//
// Positions are stored as their low 16 bits; a candidate's distance is the
// 16-bit difference to the current position. A stale or aliased entry can
// only name some other position inside the window, whose bytes are compared
// before use, so the matches are right whatever the tables hold. Chains are
// followed only while the distance grows.
#include <cstring>

#include "dcl/encoder_common.h"

namespace dcl::detail {

template <unsigned kChainBits, unsigned kPairBits>
class ChainFinder {
 public:
  static constexpr std::size_t kChainSize = kMaxDistance;  // one link per window position

  struct Tables {
    std::uint16_t head[1u << kChainBits];
    std::uint16_t chain[kChainSize];
    std::uint16_t pair[1u << kPairBits];
  };

  ChainFinder(Tables& t, unsigned dictionarySize) : t_(t), reach_(dictionarySize) {}

  void reset() { std::memset(&t_, 0, sizeof t_); }

  // The longest match at index i of `atLeast` bytes or more, following the
  // chain `depth` steps at most and stopping at `nice` bytes (length 0 when
  // there is none). Enters i.
  Match find(const WindowView& w, std::size_t i, unsigned atLeast, unsigned depth, unsigned nice) {
    Match best{atLeast > 3 ? atLeast - 1 : 2, 0};  // the chains give 3 bytes or more
    const std::size_t available = w.filled - i;
    if (available < 2) return {0, 0};
    const unsigned limit = available < kMaxMatch ? static_cast<unsigned>(available) : kMaxMatch;
    const std::uint8_t* const here = w.bytes + i;
    const std::size_t seen = w.base + i;
    const unsigned reach = seen < reach_ ? static_cast<unsigned>(seen) : reach_;
    const auto now = static_cast<std::uint16_t>(seen);

    if (limit >= 3 && best.length < limit) {
      unsigned distance = static_cast<std::uint16_t>(now - t_.head[hash3(here)]);
      for (unsigned steps = depth; steps != 0 && distance != 0 && distance <= reach; --steps) {
        const std::uint8_t* const there = here - distance;
        if (there[best.length] == here[best.length]) {
          const unsigned length = matchLength(there, here, 0, limit);
          if (length > best.length) {
            best = {length, distance};
            if (length >= nice || length == limit) break;
          }
        }
        const unsigned next = static_cast<std::uint16_t>(now - t_.chain[(seen - distance) & (kChainSize - 1)]);
        if (next <= distance) break;
        distance = next;
      }
    }
    if (best.distance == 0 && atLeast <= 2) {
      const unsigned distance = static_cast<std::uint16_t>(now - t_.pair[hash2(here)]);
      if (distance != 0 && distance <= 256 && distance <= reach && here[-static_cast<std::ptrdiff_t>(distance)] == here[0] &&
          here[1 - static_cast<std::ptrdiff_t>(distance)] == here[1]) {
        best = {2, distance};
      }
    }
    enter(w, i);
    return best.distance != 0 ? best : Match{0, 0};
  }

  // Enters index i without a search.
  void enter(const WindowView& w, std::size_t i) {
    const std::size_t available = w.filled - i;
    if (available < 2) return;
    const std::uint8_t* const here = w.bytes + i;
    const std::size_t seen = w.base + i;
    const auto now = static_cast<std::uint16_t>(seen);
    t_.pair[hash2(here)] = now;
    if (available < 3) return;
    std::uint16_t& head = t_.head[hash3(here)];
    t_.chain[seen & (kChainSize - 1)] = head;
    head = now;
  }

 private:
  static unsigned hash3(const std::uint8_t* p) {
    const std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
    return (v * 0x9E3779B1u) >> (32 - kChainBits);
  }
  static unsigned hash2(const std::uint8_t* p) {
    const std::uint32_t v = p[0] | (std::uint32_t{p[1]} << 8);
    return (v * 0x9E3779B1u) >> (32 - kPairBits);
  }

  Tables& t_;
  const unsigned reach_;
};

}  // namespace dcl::detail
