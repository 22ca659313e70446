#pragma once
// Moves the package of an existing installer of this format (package at
// packageOffset) onto our stub: the header and every used slot's stored
// bytes are kept as they are, entries are laid back to back in slot order,
// slot 0 describes the new stub, unused slots take the standard form, and
// each entry gains the CRC-32 of its expanded bytes. Slot 1 may be replaced
// by our compressor library.
#include <filesystem>
#include <string>

#include "tools/saverpack/lib/diagnostics.h"

class ByteSource;

struct RepackOptions {
  std::filesystem::path stub;
  std::filesystem::path compressor;  // empty: keep the old slot 1
};

// Throws ToolError when the old file has no package or a used slot's bytes
// are not in it; damaged streams are copied as they are, with a warning.
void repackPackage(ByteSource& old, const std::string& file, const RepackOptions& options,
                   const std::filesystem::path& output, Diagnostics& out);
