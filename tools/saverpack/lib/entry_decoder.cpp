#include "tools/saverpack/lib/entry_decoder.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/entry_encoder.h"
#include "tools/saverpack/lib/progress.h"

namespace {

constexpr std::size_t kBlock = 1 << 16;

// Counts, checksums and forwards expanded bytes; holds a sink's failure so
// that nothing is thrown through the library.
struct Collector {
  std::uint64_t limit;
  const ExpandedSink* sink;
  ReadOutcome& outcome;
  std::uint32_t crc = kCrcStart;
  std::exception_ptr failure;

  bool take(std::span<const std::uint8_t> block) {
    if (failure) return false;
    const std::uint64_t room = limit - std::min(limit, outcome.expanded);
    if (block.size() > room) {
      block = block.first(static_cast<std::size_t>(room));
      outcome.overLimit = true;
    }
    outcome.expanded += block.size();
    crc = dcl::crc32Update(crc, block);
    if (sink && !block.empty()) {
      try {
        (*sink)(block);
      } catch (...) {
        failure = std::current_exception();
        return false;
      }
    }
    return !outcome.overLimit;
  }
};

}  // namespace

ReadOutcome readEntry(ByteSource& source, const StoredRange& range, std::uint64_t limit, const ExpandedSink* sink,
                      Progress* progress) {
  ReadOutcome outcome;
  Collector collect{limit, sink, outcome, kCrcStart, nullptr};
  SourceStream stream(source, range.offset, range.length);
  const auto reader = [&](std::span<std::uint8_t> buffer) {
    const std::size_t n = stream.read(buffer);
    advance(progress, n);
    return n;
  };
  if (range.compressed) {
    const auto writer = [&](std::span<const std::uint8_t> block) { return collect.take(block); };
    outcome.result = dcl::explode(reader, writer);
  } else {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, range.length)));
    while (!outcome.overLimit && !collect.failure) {
      const std::size_t n = reader(block);
      if (n == 0) break;
      collect.take(std::span(block).first(n));
    }
  }
  if (collect.failure) std::rethrow_exception(collect.failure);
  outcome.sourceShort = stream.failed();
  outcome.crc = crc32Of(collect.crc);
  return outcome;
}

StreamHeader streamHeaderOf(std::uint8_t first, std::uint8_t second) {
  StreamHeader h;
  if (first > 1 || second < 4 || second > 6) return h;
  h.valid = true;
  h.mode = first == 1 ? dcl::LiteralMode::Ascii : dcl::LiteralMode::Binary;
  h.dictionarySize = 64u << second;
  return h;
}
