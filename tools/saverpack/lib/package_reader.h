#pragma once
// Reads an installer's header and slot directory from a source.
#include <cstdint>
#include <memory>
#include <string>

#include "package/package_format.h"

class ByteSource;

struct PackageView {
  std::uint64_t fileSize = 0;
  bool hasDirectory = false;  // the file holds all 3,152 bytes at packageOffset
  PackageDirectory directory;
};

PackageView readPackageView(ByteSource& source);

// The stored bytes of a slot as a source of its expanded bytes: a window
// onto the package for a stored entry, an expanded copy (in memory, or a
// scratch file when large) for a compressed one. Null when the entry does
// not expand cleanly to its size.
std::unique_ptr<ByteSource> expandedEntrySource(ByteSource& package, const PackageEntry& entry);

// "a.exe: slot 3 'installer.bmp'"
std::string slotWhere(const std::string& file, int slot, const PackageEntry& entry);
