#pragma once
// Checks an installer, or a bare data file, against everything the
// installer requires and every limit of the data file: sizes and offsets,
// each entry expanded and its length compared, the CRC-32 checks where the
// builder recorded them, and the package rules (flags, slots, kinds, names,
// collisions). Any input at all yields a list of problems, never a crash.
#include <cstdint>
#include <string>

#include "tools/saverpack/lib/diagnostics.h"

class ByteSource;
class Progress;

struct VerifySummary {
  int usedSlots = 0;
  int compressedSlots = 0;
  bool dataChecked = false;
  std::size_t dataEntries = 0;
};

VerifySummary verifyPackage(ByteSource& source, const std::string& displayName, Diagnostics& out, Progress* progress);

// The data file's bytes only (record, directory, every chunk), without the
// rules on its names: for a ready-made data file a manifest names, whose
// names the package rules check.
void verifyDataFileBytes(ByteSource& source, const std::string& where, Diagnostics& out);

// `where` names the data file in messages ("a.ssd", "a.exe: slot 8 'a.ssd'").
// Returns the number of directory entries checked.
std::size_t verifyDataFile(ByteSource& source, const std::string& where, Diagnostics& out, Progress* progress);
