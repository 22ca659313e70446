#pragma once
// The best level's match finder: binary trees, which give the nearest
// distance for every match length.
//
// Each tree holds positions whose first two bytes hash alike, ordered by the
// bytes that follow (as a binary search tree), newer positions nearer the
// root. Walking down from the root towards the current position meets, for
// every match length, the nearest position of that length; the walk also
// splits the tree around the current position, which becomes the new root.
// The walk stops at the dictionary's reach or after kMaxVisits nodes and cuts
// the tree there, so the invariant it relies on (every node between the two
// bounds shares their common prefix with the current position) always holds.
#include <cstring>

#include "dcl/encoder_common.h"

namespace dcl::detail {

template <class Stamp, std::size_t kNodes, unsigned kRootBits, unsigned kMaxVisits, std::size_t kRootSweep>
class TreeFinder {
 public:
  // The node of the position kNodes back shares the current one's slot.
  static constexpr unsigned kReach = kNodes > kMaxDistance ? kMaxDistance : kNodes - 1;

  // Positions are stored plus one, wrapping; 0 is an empty slot.
  struct Tables {
    Stamp root[1u << kRootBits];
    Stamp tree[kNodes][2];  // lesser and greater child of each position
  };

  TreeFinder(Tables& t, unsigned dictionarySize) : t_(t), reach_(dictionarySize < kReach ? dictionarySize : kReach) {}

  void reset() { std::memset(t_.root, 0, sizeof t_.root); }

  // Enters index i into its tree; with `found`, lists the matches there
  // (lengths rising, each with its nearest distance). Returns the count.
  unsigned insert(const WindowView& w, std::size_t i, Match* found) {
    const std::size_t available = w.filled - i;
    if (available < 2) return 0;
    const Stamp now = static_cast<Stamp>(w.base + i + 1);
    if ((w.base + i) % (kRootSweep + 1) == 0) clearStaleRoots(now);
    const unsigned limit = available < kMaxMatch ? static_cast<unsigned>(available) : kMaxMatch;
    const std::uint8_t* const here = w.bytes + i;
    const std::size_t seen = w.base + i;
    const std::size_t reach = seen < reach_ ? seen : reach_;

    Stamp& root = t_.root[rootOf(here)];
    Stamp candidate = root;
    root = now;
    Stamp* lesser = &node(now)[0];
    Stamp* greater = &node(now)[1];
    unsigned lesserLength = 0, greaterLength = 0;  // bytes shared with the two bounds
    unsigned best = 1, count = 0;
    for (unsigned visits = kMaxVisits; visits != 0; --visits) {
      const auto distance = static_cast<Stamp>(now - candidate);
      if (candidate == 0 || distance > reach) break;
      const std::uint8_t* const there = here - distance;
      const unsigned length = matchLength(there, here, lesserLength < greaterLength ? lesserLength : greaterLength, limit);
      Stamp(&children)[2] = node(candidate);
      if (length > best) {
        best = length;
        if (found != nullptr && (length > 2 || distance <= 256)) found[count++] = {length, distance};
        if (length == limit) {  // i replaces the candidate in the tree
          *lesser = children[0];
          *greater = children[1];
          return count;
        }
      }
      if (there[length] < here[length]) {
        *lesser = candidate;
        lesser = &children[1];
        candidate = children[1];
        lesserLength = length;
      } else {
        *greater = candidate;
        greater = &children[0];
        candidate = children[0];
        greaterLength = length;
      }
    }
    *lesser = 0;
    *greater = 0;
    return count;
  }

 private:
  Stamp (&node(Stamp s))[2] { return t_.tree[(s - 1u) & (kNodes - 1)]; }

  static unsigned rootOf(const std::uint8_t* p) {
    const unsigned pair = p[0] | (unsigned{p[1]} << 8);
    if constexpr (kRootBits == 16) {
      return pair;
    } else {
      return (pair * 0x9E3779B1u) >> (32 - kRootBits);
    }
  }

  // Roots are not renewed when their tree empties; before a root's position
  // could wrap round into the reach again, it is cleared.
  void clearStaleRoots(Stamp now) {
    for (Stamp& r : t_.root) {
      if (static_cast<Stamp>(now - r) > kReach) r = 0;
    }
  }

  Tables& t_;
  const unsigned reach_;
};

}  // namespace dcl::detail
