#pragma once
// What to build: the header, the file behind each slot and, when slot 8 is
// made on the fly, the data file's contents. The manifest reader fills it;
// the builders read it. Every value keeps where it came from for messages.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "package/package_format.h"
#include "tools/saverpack/lib/compression.h"
#include "tools/saverpack/lib/package_rules.h"

struct SlotSource {
  std::filesystem::path path;  // the file to pack (empty for slot 8 built from `data`)
  std::string name;            // the stored name
  std::int32_t kind = 0;
  Compression compression;
  std::string where;
};

struct DataItem {
  std::string name;            // relative to the install folder, '\' between folders
  std::filesystem::path path;  // empty for an alias
  bool alias = false;
  Compression compression;
  std::uint8_t type = 0;       // written for stored files; aliases are type 3
  std::string where;
};

struct DataPlan {
  std::optional<std::filesystem::path> settings;  // a 1,240-byte record; zero-filled when absent
  std::optional<std::int32_t> mainMovieMode;      // written over the record's when given
  std::vector<DataItem> items;                    // entry 1 first
  std::string where;
};

struct PackagePlan {
  PackageHeader header;
  HeaderWhere headerWhere;
  std::array<std::optional<SlotSource>, kSlotCount> slots;  // slot 0 is the stub, filled by the builder
  std::optional<DataPlan> data;                             // slot 8 is built from this
  std::filesystem::path stub, compressor;                   // as the manifest names them; may be empty
  std::string stubWhere, compressorWhere;
};

// The stored role defaults: slot -> kind.
std::int32_t defaultKind(int slot);
