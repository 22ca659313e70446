#include "tools/saverpack/lib/verifier.h"

#include <array>

#include "package/data_file_format.h"
#include "package/package_format.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/data_file_reader.h"
#include "tools/saverpack/lib/file_names.h"
#include "tools/saverpack/lib/package_reader.h"
#include "tools/saverpack/lib/package_rules.h"
#include "tools/saverpack/lib/verify_entry.h"

namespace {

constexpr std::uint64_t kDirectoryEnd = static_cast<std::uint64_t>(packageOffset) + kPackageDirectorySize;

void reportShortPackage(std::uint64_t size, const std::string& file, Diagnostics& out) {
  const auto offset = static_cast<std::uint64_t>(packageOffset);
  if (size < offset) {
    out.error(file, "the file is " + std::to_string(size) + " bytes, shorter than the installer executable (" +
                        std::to_string(offset) + "): it holds no package");
    return;
  }
  const std::uint64_t have = size - offset;
  std::string inside = "inside the package header";
  if (have >= kPackageHeaderSize)
    inside = "inside the slot directory, in slot " + std::to_string((have - kPackageHeaderSize) / kPackageEntrySize) +
             "'s record";
  out.error(file, "the file ends " + inside + " (" + std::to_string(have) + " of " +
                      std::to_string(kPackageDirectorySize) + " bytes present): the installer stops with -31");
}

void checkStub(ByteSource& src, const PackageEntry& e, const std::string& file, Diagnostics& out, Progress* progress) {
  std::array<std::uint8_t, 2> mz{};
  if (!src.read(0, mz) || mz[0] != 'M' || mz[1] != 'Z')
    out.warning(file + ": stub", "the file does not start with an executable's \"MZ\" header");
  const std::string where = slotWhere(file, Slot::Installer, e);
  if (entryNameOf(e) != kInstallerSlotName || e.start != 0 || e.end != packageOffset - 1 || e.size != packageOffset ||
      e.kind != EntryKind::Executable || e.compressed)
    out.warning(where, "slot 0 should describe the executable: \"install.exe\", start 0, end " +
                           std::to_string(packageOffset - 1) + ", size " + std::to_string(packageOffset) +
                           ", kind 6, stored (the installer does not read it)");
  else if (e.reserved != 0)
    checkEntry(src, {{0, static_cast<std::uint64_t>(packageOffset), false}, static_cast<std::uint64_t>(packageOffset),
                     static_cast<std::uint32_t>(e.reserved)},
               where, out, progress);
}

// One used slot's bytes; fills the facts the rules need.
void checkSlotBytes(ByteSource& src, int slot, const PackageEntry& e, const std::string& where, SlotFacts& facts,
                    Diagnostics& out, Progress* progress) {
  if (e.start < 0 || e.end < e.start) {
    out.error(where, "its offsets " + std::to_string(e.start) + ".." + std::to_string(e.end) +
                         " give no stored bytes: the installer stops with -7");
    return;
  }
  if (static_cast<std::uint64_t>(e.start) < kDirectoryEnd &&
      static_cast<std::uint64_t>(e.end) >= static_cast<std::uint64_t>(packageOffset))
    out.warning(where, "its stored bytes overlap the package directory");
  const auto stored = static_cast<std::uint64_t>(storedLength(e));
  EntryCheck check;
  check.range = {static_cast<std::uint64_t>(e.start), stored, e.compressed != 0};
  check.crc = static_cast<std::uint32_t>(e.reserved);
  if (e.compressed) {
    if (e.size < 0) {
      out.error(where, "its size is negative (" + std::to_string(e.size) + ")");
      return;
    }
    check.expectedSize = static_cast<std::uint64_t>(e.size);
  } else {
    check.expectedSize = stored;
    if (static_cast<std::int64_t>(e.size) != storedLength(e))
      out.warning(where, "its size field (" + std::to_string(e.size) + ") differs from its stored length (" +
                             std::to_string(stored) + "); the installer does not read it for a stored entry");
  }
  // A wrong checksum still leaves the bytes to look at (the picture's
  // kind, the data file's directory): the installer would use them.
  const EntryCheckResult r = checkEntry(src, check, where, out, progress);
  if (r.lengthOk) {
    facts.head = r.head;
    facts.headKnown = true;
  }
  if (slot == Slot::Compressor && r.lengthOk && (r.head.size() < 2 || r.head[0] != 'M' || r.head[1] != 'Z'))
    out.warning(where, "the compressor library does not start with a DLL's \"MZ\" header");
}

SlotFacts factsOfEntry(const PackageEntry& e, const std::string& where) {
  SlotFacts f;
  f.used = !isEmptySlot(e);
  f.name = entryNameOf(e);
  f.kind = e.kind;
  f.compressed = e.compressed != 0;
  f.where = where;
  return f;
}

std::string entryWhere(const std::string& file, std::size_t index, const DataFileEntry& e) {
  std::string w = file + ": entry " + std::to_string(index + 1);
  const std::string name = dataEntryNameOf(e);
  if (!name.empty()) w += " " + quotedName(name);
  return w;
}

void checkChunk(ByteSource& src, const DataFileEntry& e, std::uint64_t directoryEnd,
                const std::string& where, Diagnostics& out, Progress* progress) {
  const std::uint64_t size = src.size();
  if (e.chunkOffset < 0 || static_cast<std::uint64_t>(e.chunkOffset) >= size) {
    out.error(where, "its chunk offset " + std::to_string(e.chunkOffset) + " lies beyond the file (" +
                         std::to_string(size) + " bytes)");
    return;
  }
  const ChunkView chunk = readChunkHeader(src, e.chunkOffset);
  if (!chunk.present) {
    out.error(where, "the file is cut inside its chunk header at " + std::to_string(e.chunkOffset));
    return;
  }
  const auto at = static_cast<std::uint64_t>(e.chunkOffset);
  if (at < directoryEnd) out.warning(where, "its chunk at " + std::to_string(at) + " overlaps the settings or directory");
  const ChunkHeader& c = chunk.header;
  if (!std::equal(std::begin(kChunkMagic), std::end(kChunkMagic), c.magic))
    out.warning(where, "its chunk does not start with \"CHUN\"");
  if (c.expandedSize < 0) {
    out.error(where, "its expanded size is negative (" + std::to_string(c.expandedSize) + ")");
    return;
  }
  if (c.expandedSize == 0) return;  // no file is written
  EntryCheck check;
  check.expectedSize = static_cast<std::uint64_t>(c.expandedSize);
  check.crc = c.checksum;
  check.sizeField = "expanded size";
  if (c.compressed) {
    if (c.storedSize <= 0) {
      out.error(where, "it is compressed with a stored size of " + std::to_string(c.storedSize) +
                           ": the installer stops with -7");
      return;
    }
    check.range = {at + kChunkHeaderSize, static_cast<std::uint64_t>(c.storedSize), true};
  } else {
    check.range = {at + kChunkHeaderSize, check.expectedSize, false};
  }
  checkEntry(src, check, where, out, progress);
}

// The data file's bytes: record, directory, every chunk.
DataFileView checkDataFileBytes(ByteSource& src, const std::string& where, Diagnostics& out, Progress* progress) {
  DataFileView view = readDataFileView(src);
  if (!view.settingsComplete) {
    out.error(where, "the data file is " + std::to_string(src.size()) +
                         " bytes, shorter than its 1240-byte settings record");
    return view;
  }
  if (view.entryCount < 0)
    out.warning(where, "its entry count is negative (" + std::to_string(view.entryCount) + "); the installer expands nothing");
  if (view.entryCount > kMaxDataFileEntries)
    out.error(where, "its entry count is " + std::to_string(view.entryCount) + "; the installer holds at most " +
                         std::to_string(kMaxDataFileEntries));
  if (view.entryCount > 0 && view.entries.size() < static_cast<std::size_t>(view.entryCount))
    out.error(where, "the file is cut inside its directory: entry " + std::to_string(view.entries.size() + 1) + " of " +
                         std::to_string(view.entryCount) + " is not all there");
  const std::uint64_t directoryEnd = kSaverSettingsSize + view.entries.size() * kDataFileEntrySize;
  for (std::size_t i = 0; i < view.entries.size(); ++i) {
    const DataFileEntry& e = view.entries[i];
    const std::string w = entryWhere(where, i, e);
    if (std::find(std::begin(e.name), std::end(e.name), '\0') == std::end(e.name))
      out.warning(w, "its name fills the whole field without a terminating zero");
    const bool alias = e.type == kAliasEntryType || (i == 0 && mainMovieModeOf(view.settings) == kMainMovieFromInstaller);
    if (dataEntryNameOf(e).empty() || alias) continue;
    checkChunk(src, e, directoryEnd, w, out, progress);
  }
  return view;
}

DataFacts dataFactsWithWhere(const DataFileView& view, const std::string& where) {
  return dataFactsOf(view, where, [&](std::size_t i) { return entryWhere(where, i, view.entries[i]); });
}

}  // namespace

void verifyDataFileBytes(ByteSource& src, const std::string& where, Diagnostics& out) {
  checkDataFileBytes(src, where, out, nullptr);
}

std::size_t verifyDataFile(ByteSource& src, const std::string& where, Diagnostics& out, Progress* progress) {
  const DataFileView view = checkDataFileBytes(src, where, out, progress);
  if (view.settingsComplete) checkDataFileRules(dataFactsWithWhere(view, where), out);
  return view.entries.size();
}

VerifySummary verifyPackage(ByteSource& src, const std::string& file, Diagnostics& out, Progress* progress) {
  VerifySummary summary;
  const PackageView view = readPackageView(src);
  if (!view.hasDirectory) {
    reportShortPackage(view.fileSize, file, out);
    return summary;
  }
  const PackageDirectory& dir = view.directory;
  PackageFacts facts;
  facts.header = dir.header;
  const std::string header = file + ": header";
  facts.headerWhere = {header + " saverName", header + " installMode", header + " flashVersionIndex",
                       header + " showLicense", header + " hasReadMe", header + " carriesFlashInstaller"};
  checkStub(src, dir.entries[Slot::Installer], file, out, progress);
  facts.slots[Slot::Installer] = factsOfEntry(dir.entries[Slot::Installer], slotWhere(file, 0, dir.entries[0]));
  for (int slot = Slot::Compressor; slot < kSlotCount; ++slot) {
    const PackageEntry& e = dir.entries[static_cast<std::size_t>(slot)];
    const std::string where = slotWhere(file, slot, e);
    SlotFacts& f = facts.slots[static_cast<std::size_t>(slot)];
    f = factsOfEntry(e, where);
    if (!f.used) continue;
    ++summary.usedSlots;
    if (e.compressed) ++summary.compressedSlots;
    checkSlotBytes(src, slot, e, where, f, out, progress);
  }
  const PackageEntry& dataEntry = dir.entries[Slot::DataFile];
  const std::string dataWhere = slotWhere(file, Slot::DataFile, dataEntry);
  if (facts.slots[Slot::DataFile].used && facts.slots[Slot::DataFile].headKnown) {
    if (auto data = expandedEntrySource(src, dataEntry)) {
      const DataFileView view8 = checkDataFileBytes(*data, dataWhere, out, progress);
      summary.dataChecked = true;
      summary.dataEntries = view8.entries.size();
      if (view8.settingsComplete) facts.data = dataFactsWithWhere(view8, dataWhere);
    }
  }
  checkPackageRules(facts, out);
  return summary;
}
