#include "tools/saverpack/lib/repacker.h"

#include <array>
#include <vector>

#include "package/package_format.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/entry_decoder.h"
#include "tools/saverpack/lib/entry_encoder.h"
#include "tools/saverpack/lib/output_file.h"
#include "tools/saverpack/lib/package_reader.h"
#include "tools/saverpack/lib/progress.h"

namespace {

constexpr std::size_t kBlock = 1 << 16;

std::int32_t offset32(std::uint64_t at, const std::filesystem::path& output) {
  if (at > static_cast<std::uint64_t>(INT32_MAX)) throw ToolError(output.string() + ": the package grows past 2 GB");
  return static_cast<std::int32_t>(at);
}

void copyRange(ByteSource& src, std::uint64_t offset, std::uint64_t length, OutputFile& out, Progress& progress) {
  std::vector<std::uint8_t> block(kBlock);
  while (length > 0) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length, kBlock));
    if (!src.read(offset, std::span(block).first(n))) throw ToolError("read failed at offset " + std::to_string(offset));
    out.write(std::span(block).first(n));
    progress.advance(n);
    offset += n;
    length -= n;
  }
}

// The CRC-32 of the entry's expanded bytes, or 0 when it does not expand
// cleanly to its size.
std::uint32_t expandedCrc(ByteSource& src, const PackageEntry& e, const std::string& where, Diagnostics& diag) {
  const StoredRange range{static_cast<std::uint64_t>(e.start), static_cast<std::uint64_t>(storedLength(e)), e.compressed != 0};
  const std::uint64_t expected = e.compressed ? static_cast<std::uint64_t>(std::max(e.size, 0)) : range.length;
  const ReadOutcome r = readEntry(src, range, expected, nullptr, nullptr);
  if (r.result != dcl::Result::Ok || r.sourceShort || r.overLimit || r.expanded != expected) {
    diag.warning(where, "it does not expand to its size; copied as it is, without a checksum");
    return 0;
  }
  return r.crc;
}

}  // namespace

void repackPackage(ByteSource& old, const std::string& file, const RepackOptions& options,
                   const std::filesystem::path& output, Diagnostics& diag) {
  const PackageView view = readPackageView(old);
  if (!view.hasDirectory)
    throw ToolError(file + ": no package: the file is shorter than " +
                    std::to_string(packageOffset + kPackageDirectorySize) + " bytes");
  std::error_code ec;
  if (std::filesystem::file_size(options.stub, ec) != static_cast<std::uintmax_t>(packageOffset))
    throw ToolError(options.stub.string() + ": the stub is not exactly " + std::to_string(packageOffset) + " bytes");

  OutputFile out(output);
  Progress progress("repacking", view.fileSize);
  PackageDirectory dir;
  dir.header = view.directory.header;
  const auto encodeTool = [&](const std::filesystem::path& p, const char* name, std::int32_t kind) {
    const std::uint64_t start = out.position();
    const EncodedEntry e = encodeFile(out, p, {Method::Stored}, {.forceStored = true}, &progress);
    PackageEntry entry;
    setEntryName(entry, name);
    entry.start = offset32(start, output);
    entry.end = offset32(start + e.storedSize - 1, output);
    entry.kind = kind;
    entry.reserved = static_cast<std::int32_t>(e.crc);
    entry.size = offset32(e.expandedSize, output);
    return entry;
  };
  dir.entries[Slot::Installer] = encodeTool(options.stub, kInstallerSlotName, EntryKind::Executable);
  std::array<std::uint8_t, kPackageDirectorySize> block{};
  out.write(block);

  for (int slot = Slot::Compressor; slot < kSlotCount; ++slot) {
    const PackageEntry& was = view.directory.entries[static_cast<std::size_t>(slot)];
    PackageEntry& entry = dir.entries[static_cast<std::size_t>(slot)];
    const std::uint64_t start = out.position();
    if (slot == Slot::Compressor && !options.compressor.empty()) {
      entry = encodeTool(options.compressor, kCompressorStoredName, EntryKind::TempRenamed);
      continue;
    }
    if (isEmptySlot(was)) {
      entry.start = entry.end = offset32(start, output);
      entry.kind = EntryKind::Temp;
      entry.compressed = 1;
      continue;
    }
    const std::string where = slotWhere(file, slot, was);
    if (was.start < 0 || was.end < was.start || static_cast<std::uint64_t>(was.end) >= view.fileSize)
      throw ToolError(where + ": its stored bytes " + std::to_string(was.start) + ".." + std::to_string(was.end) +
                      " are not in the file");
    entry = was;  // name field (leftover bytes and all), kind, flags, size
    const auto length = static_cast<std::uint64_t>(storedLength(was));
    copyRange(old, static_cast<std::uint64_t>(was.start), length, out, progress);
    entry.start = offset32(start, output);
    entry.end = offset32(start + length - 1, output);
    entry.reserved = static_cast<std::int32_t>(expandedCrc(old, was, where, diag));
  }
  const std::uint64_t size = out.position();
  encodePackageDirectory(dir, block);
  out.seek(static_cast<std::uint64_t>(packageOffset));
  out.write(block);
  out.commit(size);
}
