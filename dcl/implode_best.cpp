#include "dcl/encoder_common.h"

namespace dcl::detail {
Result implodeBestStream(const StreamIo& io, void* work, unsigned mode, unsigned dictionarySize) {
  return implodeStream(io, work, mode, dictionarySize);
}
}  // namespace dcl::detail
