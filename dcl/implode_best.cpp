// The best level: the optimal parser (dcl/optimal_parser.h) over blocks of
// 64K positions with binary-tree matches (dcl/tree_finder.h), in a work area
// of about 1 MB that the C++ API allocates.
#include "dcl/optimal_parser.h"
#include "dcl/tree_finder.h"

namespace dcl::detail {
namespace {

struct BestConfig {
  // 32-bit positions, roots by the first two bytes themselves, up to 256
  // nodes per search; stale roots cleared every 16M positions.
  using Finder = TreeFinder<std::uint32_t, 2 * kMaxDistance, 16, 256, 0xFFFFFF>;
  static constexpr std::size_t kBlock = 1u << 16;
  static constexpr unsigned kNiceLength = 256;
  static constexpr std::size_t kOutCapacity = 4096;
  static constexpr std::size_t kWindowCapacity = kMaxDistance + kBlock + kMaxMatch + 4096;
};

using Parser = OptimalParser<BestConfig>;
static_assert(sizeof(Parser::Work) + 7 <= kImplodeBestWorkSize, "the work area holds the aligned state");

}  // namespace

Result implodeBestStream(const StreamIo& io, void* work, unsigned mode, unsigned dictionarySize) {
  return runParser<Parser>(io, work, mode, dictionarySize);
}

}  // namespace dcl::detail
