#pragma once
// Writes one input file's stored bytes at the output's current position:
// one implode stream, or the bytes as they are. Streams the input in blocks
// straight to the output, so memory does not grow with the file. With
// Method::Auto the implode run stops as soon as its output reaches the
// input's length (or, past the first MiB, the length read so far), and the
// file is then stored instead.
#include <cstdint>
#include <filesystem>

#include "tools/saverpack/lib/compression.h"

class OutputFile;
class Progress;

struct EncodedEntry {
  std::uint64_t storedSize = 0;
  std::uint64_t expandedSize = 0;
  bool compressed = false;
  std::uint32_t crc = 0;  // CRC-32 of the expanded bytes
};

struct EncodeRules {
  // A package entry cannot be stored empty (its end offset would precede its
  // start), so an empty file is imploded instead: a few bytes expanding to 0.
  bool emptyNeedsStream = false;
  // Slot 1 is the library that expands everything else.
  bool forceStored = false;
};

// Throws ToolError naming the input when it cannot be read or changes size
// while it is being read.
EncodedEntry encodeFile(OutputFile& out, const std::filesystem::path& input, const Compression& how,
                        const EncodeRules& rules, Progress* progress);

// The finished CRC-32 of a byte block (dcl's running CRC pre- and
// post-conditioned).
std::uint32_t crc32Of(std::uint32_t running);
inline constexpr std::uint32_t kCrcStart = 0xFFFFFFFFu;
