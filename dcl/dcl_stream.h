#pragma once
// The library core: allocation-free, no globals, every byte of state in the
// work area the caller passes. Shared by the C++ API (dcl/dcl.h) and the DLL
// functions (dcl/dcl_c.h).
#include <cstddef>
#include <cstdint>

#include "dcl/dcl.h"

namespace dcl::detail {

// The core's view of the caller's I/O.
struct StreamIo {
  // Fills up to `capacity` bytes; returns the count, 0 at the end of input.
  // A count above `capacity` is taken as `capacity`.
  std::size_t (*read)(void* context, std::uint8_t* buffer, std::size_t capacity);
  // Takes one block; false stops the run with Result::Abort.
  bool (*write)(void* context, const std::uint8_t* block, std::size_t length);
  void* context;
};

// `work` must hold kExplodeWorkSize bytes, any alignment.
Result explodeStream(const StreamIo& io, void* work);
// The same with the 32-bit bit buffer that the DLL's target uses, so that
// host tests and fuzzing cover that decoder too.
Result explodeStreamNarrow(const StreamIo& io, void* work);

// `work` must hold kImplodeWorkSize bytes, any alignment. mode is 0 binary
// or 1 ASCII; dictionarySize 1024, 2048 or 4096.
Result implodeStream(const StreamIo& io, void* work, unsigned mode, unsigned dictionarySize);

// The best level needs a larger work area, still supplied by the caller.
inline constexpr std::size_t kImplodeBestWorkSize = 1u << 20;
Result implodeBestStream(const StreamIo& io, void* work, unsigned mode, unsigned dictionarySize);

std::uint32_t crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t length);

}  // namespace dcl::detail
