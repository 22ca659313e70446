#pragma once
// The common check of one stored entry: its bytes are in the source, it
// expands cleanly to its expected size, and its CRC-32 matches when one is
// recorded. Shared by the package and data-file verifiers.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/entry_decoder.h"

class ByteSource;
class Progress;

struct EntryCheck {
  StoredRange range;
  std::uint64_t expectedSize = 0;
  std::uint32_t crc = 0;          // 0: none recorded
  const char* sizeField = "size";  // how messages name the expected size
  const char* sizeCode = "-13";    // what the installer does on a wrong length
};

struct EntryCheckResult {
  bool inside = false;               // the stored bytes lie inside the source
  bool lengthOk = false;             // expanded cleanly to the expected size
  bool expandedOk = false;           // ...and the CRC-32 matches, when one is recorded
  std::vector<std::uint8_t> head;    // the first expanded bytes (up to 8)
};

// `also` receives every expanded byte (extraction writes them out).
EntryCheckResult checkEntry(ByteSource& source, const EntryCheck& check, const std::string& where, Diagnostics& out,
                            Progress* progress, const ExpandedSink* also = nullptr);
