#include "tools/saverpack/lib/extractor.h"

#include <fstream>
#include <set>
#include <vector>

#include "package/data_file_format.h"
#include "package/package_format.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/data_file_reader.h"
#include "tools/saverpack/lib/file_names.h"
#include "tools/saverpack/lib/output_file.h"
#include "tools/saverpack/lib/package_reader.h"
#include "tools/saverpack/lib/verify_entry.h"

namespace {

namespace fs = std::filesystem;

// folder / name, parts split at '\' or '/'; refused (empty) when the name
// could lead outside or an existing part of the path is a symbolic link.
fs::path safeTarget(const fs::path& folder, const std::string& name, const std::string& where, Diagnostics& out) {
  const std::string why = relativeNameProblem(name);
  if (!why.empty()) {
    out.error(where, "not extracted: the name " + quotedName(name) + " is unsafe: " + why);
    return {};
  }
  fs::path p = folder;
  std::size_t begin = 0;
  for (;;) {
    const std::size_t end = name.find_first_of("\\/", begin);
    p /= name.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(p, ec))) {
      out.error(where, "not extracted: " + p.string() + " is a symbolic link");
      return {};
    }
    if (end == std::string::npos) return p;
    begin = end + 1;
  }
}

// Expands one stored entry into `target`; the file appears only when the
// entry expanded cleanly.
bool writeEntry(ByteSource& src, const EntryCheck& check, const fs::path& target, const std::string& where,
                Diagnostics& out, Progress* progress) {
  fs::create_directories(target.parent_path());
  OutputFile file(target);
  const ExpandedSink sink = [&](std::span<const std::uint8_t> b) { file.write(b); };
  const EntryCheckResult r = checkEntry(src, check, where, out, progress, &sink);
  if (!r.expandedOk) return false;
  file.commit(check.expectedSize);
  return true;
}

void copyFile(const fs::path& from, const fs::path& to, const std::string& where, Diagnostics& out) {
  std::error_code ec;
  fs::create_directories(to.parent_path(), ec);
  if (from.empty() || !fs::is_regular_file(from, ec)) {
    out.warning(where, "not extracted: the alias's source was not extracted");
    return;
  }
  // Copied through a stream rather than fs::copy_file, whose mingw build
  // refuses to overwrite an existing file.
  std::ifstream in(from, std::ios::binary);
  OutputFile copy(to);
  std::vector<std::uint8_t> block(1 << 16);
  std::uint64_t size = 0;
  while (in) {
    in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
    const auto n = static_cast<std::size_t>(in.gcount());
    copy.write(std::span(block).first(n));
    size += n;
  }
  if (!in.eof()) throw ToolError(from.string() + ": read failed");
  copy.commit(size);
}

EntryCheck checkOfSlot(const PackageEntry& e) {
  EntryCheck c;
  c.range = {static_cast<std::uint64_t>(e.start), static_cast<std::uint64_t>(storedLength(e)), e.compressed != 0};
  c.expectedSize = e.compressed ? static_cast<std::uint64_t>(e.size) : c.range.length;
  c.crc = static_cast<std::uint32_t>(e.reserved);
  return c;
}

}  // namespace

ExtractCounts extractDataFile(ByteSource& src, const std::string& where, const fs::path& folder,
                              const fs::path& installerMovie, Diagnostics& out, Progress* progress) {
  ExtractCounts counts;
  const DataFileView view = readDataFileView(src);
  if (!view.settingsComplete) {
    out.error(where, "the data file is shorter than its settings record");
    return counts;
  }
  fs::path mainFile;
  for (std::size_t i = 0; i < view.entries.size() && i < static_cast<std::size_t>(kMaxDataFileEntries); ++i) {
    const DataFileEntry& e = view.entries[i];
    const std::string name = dataEntryNameOf(e);
    const std::string w = where + ": entry " + std::to_string(i + 1) + " " + quotedName(name);
    if (name.empty()) continue;
    const fs::path target = safeTarget(folder, name, w, out);
    if (target.empty()) continue;
    if (i == 0) mainFile = target;
    const bool alias = e.type == kAliasEntryType || (i == 0 && mainMovieModeOf(view.settings) == kMainMovieFromInstaller);
    if (alias) {
      copyFile(i == 0 ? installerMovie : mainFile, target, w, out);
      ++counts.files;
      continue;
    }
    const ChunkView c = readChunkHeader(src, e.chunkOffset);
    if (!c.present) {
      out.error(w, "not extracted: its chunk header lies outside the file");
      continue;
    }
    if (c.header.expandedSize <= 0) continue;  // the installer writes no file either
    EntryCheck check;
    const auto at = static_cast<std::uint64_t>(e.chunkOffset) + kChunkHeaderSize;
    check.expectedSize = static_cast<std::uint64_t>(c.header.expandedSize);
    check.range = {at, c.header.compressed ? static_cast<std::uint64_t>(std::max(c.header.storedSize, 0)) : check.expectedSize,
                   c.header.compressed != 0};
    check.crc = c.header.checksum;
    check.sizeField = "expanded size";
    if (writeEntry(src, check, target, w, out, progress)) ++counts.files;
  }
  const fs::path settings = folder / kSaverSettingsFileName;
  OutputFile file(settings);
  file.write(view.settings.bytes);
  file.commit(kSaverSettingsSize);
  ++counts.files;
  return counts;
}

ExtractCounts extractPackage(ByteSource& src, const std::string& file, const fs::path& folder, bool withData,
                             Diagnostics& out, Progress* progress) {
  ExtractCounts counts;
  const PackageView view = readPackageView(src);
  if (!view.hasDirectory) {
    out.error(file, "no package: the file is shorter than " + std::to_string(packageOffset + kPackageDirectorySize) + " bytes");
    return counts;
  }
  fs::create_directories(folder);
  std::set<std::string> written;
  fs::path movie;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const PackageEntry& e = view.directory.entries[static_cast<std::size_t>(slot)];
    if (isEmptySlot(e)) continue;
    const std::string where = slotWhere(file, slot, e);
    std::string name = entryNameOf(e);
    const std::string why = fileNameProblem(name);
    if (!why.empty()) {
      out.error(where, "not extracted: the name is unsafe: " + why);
      continue;
    }
    // Two slots of one name (in any letter case) keep both files.
    if (!written.insert(lowerAscii(name)).second) {
      out.warning(where, "a file of this name was already extracted; written as slot" + std::to_string(slot) + "-" + name);
      name = "slot" + std::to_string(slot) + "-" + name;
      written.insert(lowerAscii(name));
    }
    if (e.start < 0 || e.end < e.start || e.size < 0) {
      out.error(where, "not extracted: its offsets or size are invalid");
      continue;
    }
    const fs::path target = safeTarget(folder, name, where, out);
    if (target.empty()) continue;
    if (!writeEntry(src, checkOfSlot(e), target, where, out, progress)) continue;
    ++counts.files;
    if (slot == Slot::Picture && equalsIgnoringCase(entryNameOf(e), kInstallerMovieName)) movie = target;
  }
  const PackageEntry& data = view.directory.entries[Slot::DataFile];
  if (withData && !isEmptySlot(data)) {
    const std::string where = slotWhere(file, Slot::DataFile, data);
    if (auto expanded = expandedEntrySource(src, data)) {
      counts.files += extractDataFile(*expanded, where, folder / "data", movie, out, progress).files;
    } else {
      out.error(where, "its data file was not extracted: the entry is damaged");
    }
  }
  return counts;
}
