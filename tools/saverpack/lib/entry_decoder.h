#pragma once
// Reads one stored entry (a package slot or a data-file chunk) back out of
// a source: copies it or expands its implode stream block by block, counting
// and checksumming the expanded bytes, optionally handing them to a sink.
// Memory stays at one block whatever the entry's size.
#include <cstdint>
#include <functional>
#include <span>

#include "dcl/dcl.h"

class ByteSource;
class Progress;

// Takes one block of expanded bytes; may throw (the throw is carried past
// the library and raised again by readEntry).
using ExpandedSink = std::function<void(std::span<const std::uint8_t>)>;

struct ReadOutcome {
  dcl::Result result = dcl::Result::Ok;  // Ok for a stored entry read whole
  std::uint64_t expanded = 0;            // bytes produced (up to the limit)
  std::uint32_t crc = 0;                 // finished CRC-32 of those bytes
  bool sourceShort = false;              // the stored bytes ran past the end of the source
  bool overLimit = false;                // produced more than `limit`; stopped there
};

struct StoredRange {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
  bool compressed = false;
};

// `limit`: stop once more than this many expanded bytes were produced (the
// expected size, so that a lying stream cannot run on).
ReadOutcome readEntry(ByteSource& source, const StoredRange& range, std::uint64_t limit, const ExpandedSink* sink,
                      Progress* progress);

// The implode header of a stream: literal mode and dictionary size, when the
// first two bytes are valid ones.
struct StreamHeader {
  bool valid = false;
  dcl::LiteralMode mode = dcl::LiteralMode::Binary;
  unsigned dictionarySize = 0;
};
StreamHeader streamHeaderOf(std::uint8_t first, std::uint8_t second);
