// The default level: lazy parsing (dcl/lazy_parser.h) over hash-chain
// matches (dcl/chain_finder.h), everything within the 36,312-byte work area
// that "_implode" is given.
#include "dcl/chain_finder.h"
#include "dcl/lazy_parser.h"

namespace dcl::detail {
namespace {

struct DefaultConfig {
  using Finder = ChainFinder<13, 10>;          // hash bits of the chains and of the 2-byte table
  static constexpr unsigned kDepth = 192;      // chain steps per search
  static constexpr unsigned kNiceLength = 258;  // ends a search
  static constexpr unsigned kGoodLength = 64;  // taken without the lazy step
  static constexpr unsigned kFollowCost = 24;  // quarter bits per byte, see LazyParser::betterLater
  static constexpr std::size_t kOutCapacity = 2048;
  static constexpr std::size_t kWindowCapacity =
      (kImplodeWorkSize - 7 - sizeof(Finder::Tables) - kOutCapacity) & ~std::size_t{7};
};

using Parser = LazyParser<DefaultConfig>;
static_assert(sizeof(Parser::Work) + 7 <= kImplodeWorkSize, "the work area holds the aligned state");

}  // namespace

Result implodeStream(const StreamIo& io, void* work, unsigned mode, unsigned dictionarySize) {
  return runParser<Parser>(io, work, mode, dictionarySize);
}

}  // namespace dcl::detail
