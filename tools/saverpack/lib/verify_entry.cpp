#include "tools/saverpack/lib/verify_entry.h"

#include <algorithm>
#include <cstdio>

#include "tools/saverpack/lib/byte_source.h"

namespace {

std::string hex32(std::uint32_t v) {
  char b[16];
  std::snprintf(b, sizeof b, "%08X", v);
  return b;
}

std::string resultText(dcl::Result r) {
  switch (r) {
    case dcl::Result::Ok: return "ok";
    case dcl::Result::InvalidDictionarySize: return "its header names no valid dictionary size";
    case dcl::Result::InvalidMode: return "its header names no valid literal mode";
    case dcl::Result::BadData: return "it holds a match that reaches before the first byte";
    case dcl::Result::Abort: return "it ends before its end code";
  }
  return "unknown result";
}

bool rangeInside(ByteSource& source, const StoredRange& r, const std::string& where, Diagnostics& out) {
  const std::uint64_t size = source.size();
  const std::uint64_t last = r.offset + r.length - 1;
  if (r.offset >= size) {
    out.error(where, "its stored bytes start at " + std::to_string(r.offset) + ", beyond the end of the file (" +
                         std::to_string(size) + " bytes)");
    return false;
  }
  if (last >= size) {
    out.error(where, "the file is cut inside this entry: its stored bytes run to " + std::to_string(last) +
                         " but the file ends at " + std::to_string(size - 1) + " (" + std::to_string(size - r.offset) +
                         " of " + std::to_string(r.length) + " bytes present)");
    return false;
  }
  return true;
}

}  // namespace

EntryCheckResult checkEntry(ByteSource& source, const EntryCheck& check, const std::string& where, Diagnostics& out,
                            Progress* progress, const ExpandedSink* also) {
  EntryCheckResult result;
  if (check.range.length > 0 && !rangeInside(source, check.range, where, out)) return result;
  result.inside = true;
  const ExpandedSink keepHead = [&](std::span<const std::uint8_t> b) {
    const std::size_t n = std::min<std::size_t>(8 - result.head.size(), b.size());
    result.head.insert(result.head.end(), b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
    if (also) (*also)(b);
  };
  const ReadOutcome r = readEntry(source, check.range, check.expectedSize, &keepHead, progress);
  if (r.sourceShort) {
    out.error(where, "its stored bytes cannot be read");
    return result;
  }
  if (check.range.compressed && r.result != dcl::Result::Ok && !r.overLimit) {
    out.error(where, "the implode stream is damaged: " + resultText(r.result) + " (after " +
                         std::to_string(r.expanded) + " expanded bytes)");
    return result;
  }
  if (r.overLimit) {
    out.error(where, std::string("it expands to more than its ") + check.sizeField + " of " +
                         std::to_string(check.expectedSize) + " bytes: the installer stops with " + check.sizeCode);
    return result;
  }
  if (r.expanded != check.expectedSize) {
    out.error(where, "it expands to " + std::to_string(r.expanded) + " bytes, but its " + check.sizeField + " is " +
                         std::to_string(check.expectedSize) + ": the installer stops with " + check.sizeCode);
    return result;
  }
  result.lengthOk = true;
  if (check.crc != 0 && r.crc != check.crc) {
    out.error(where, "the CRC-32 of its expanded bytes is " + hex32(r.crc) + " but " + hex32(check.crc) +
                         " is recorded: the content is damaged");
    return result;
  }
  result.expandedOk = true;
  return result;
}
