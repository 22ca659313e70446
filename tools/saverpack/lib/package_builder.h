#pragma once
// Writes an installer: the stub (exactly packageOffset bytes), the header
// and the 11 slots, then the entries back to back in slot order. Slot 0
// describes the stub itself; unused slots get an empty name with start =
// end = the offset where the next entry begins, kind 7, compressed 1 and
// size 0. Every entry records the CRC-32 of its expanded bytes at entry
// offset 272 (0 means none; the installer does not read it).
#include <array>
#include <cstdint>
#include <filesystem>

#include "package/package_format.h"
#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/package_plan.h"

class Progress;

struct BuildTools {
  std::filesystem::path stub;        // the installer executable proper
  std::filesystem::path compressor;  // slot 1
};

struct BuildResult {
  PackageDirectory directory;
  std::uint64_t fileSize = 0;
};

// Throws ToolError when an input cannot be read, the stub is not exactly
// packageOffset bytes, or the package outgrows 32-bit offsets; the output is
// then left untouched.
BuildResult buildPackage(const PackagePlan& plan, const BuildTools& tools, const std::filesystem::path& output,
                         Diagnostics& out);
