#pragma once
// What the installer requires of a package, checked once over a summary of
// it. The manifest reader fills the summary from a manifest before anything
// is built, the verifier from a built installer; both get the same rules and
// messages, each naming where the offending value came from.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/package_format.h"
#include "tools/saverpack/lib/diagnostics.h"

struct SlotFacts {
  bool used = false;
  std::string name;
  std::int32_t kind = 0;
  bool compressed = false;
  bool headKnown = false;
  std::vector<std::uint8_t> head;  // the expanded file's first bytes (up to 8), when headKnown
  std::string where;               // "saver.toml:12: picture", "a.exe: slot 3 'x.bmp'"
};

struct DataEntryFacts {
  std::string name;
  bool alias = false;
  std::string where;
};

struct DataFacts {
  std::int32_t mainMovieMode = 0;
  std::vector<DataEntryFacts> entries;  // entry 1 first
  std::string where;
};

// Where each header field came from.
struct HeaderWhere {
  std::string name, mode, flashVersion, license, readme, flashInstaller;
};

struct PackageFacts {
  PackageHeader header;
  HeaderWhere headerWhere;
  std::array<SlotFacts, kSlotCount> slots;
  std::optional<DataFacts> data;
};

// Everything, including the data file's own rules when `facts.data` is set.
void checkPackageRules(const PackageFacts& facts, Diagnostics& out);

// The data file's own rules: entry count, names that stay inside the
// install folder, no two entries written as one file, aliases with a main
// movie to copy.
void checkDataFileRules(const DataFacts& data, Diagnostics& out);

// The name slot 3 has in the temporary folder once its mode has changed its
// extension (".BMP" for bitmaps, ".jpg" for JPEG pictures).
std::string pictureNameInTemp(std::uint8_t installMode, const std::string& name);

// "a Windows bitmap", "a JPEG picture", "a Flash movie"... for messages
// about what a file holds, judged by its first bytes.
std::string describeContent(const std::vector<std::uint8_t>& head);
