#pragma once
// Packages and data files for the reader tests, made with the format module
// and our implode, so that a test can also make the damaged ones no builder
// would write (the builder refuses them).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/data_file_format.h"
#include "package/package_format.h"

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& text);
// Text that compresses well, `size` bytes of it.
Bytes sampleBytes(std::size_t size, unsigned seed = 1);
Bytes implodeBytes(const Bytes& data);

struct TestEntry {
  std::string name;
  std::int32_t kind = EntryKind::Temp;
  Bytes bytes;
  bool compress = false;
};

struct TestPackage {
  PackageHeader header;
  std::array<std::optional<TestEntry>, kSlotCount> slots;

  // The stub (packageOffset bytes), the directory and the entries back to
  // back; `directory` receives what was written.
  Bytes build(PackageDirectory* directory = nullptr) const;
};

// Rewrites the directory of a built package.
void writeDirectory(Bytes& package, const PackageDirectory& directory);

// Our impborl.dll, copied beside the test program by the build.
Bytes compressorLibrary();

// A package for saver `saverName` with the compressor in slot 1, a module
// in slot 6 and small files in slots 7 to 10 (slot 8 a data file when given).
TestPackage samplePackage(const std::string& saverName, const Bytes& dataFile = {});

struct TestDataItem {
  std::string name;
  Bytes bytes;
  bool compress = false;
  bool alias = false;
};

struct BuiltDataFile {
  Bytes bytes;
  std::vector<std::uint32_t> chunkOffsets;  // per item, 0 for aliases
};

BuiltDataFile buildDataFile(const std::vector<TestDataItem>& items, std::int32_t mainMovieMode = 0);
