#include "tools/saverpack/lib/package_builder.h"

#include <array>

#include "tools/saverpack/lib/data_file_builder.h"
#include "tools/saverpack/lib/entry_encoder.h"
#include "tools/saverpack/lib/output_file.h"
#include "tools/saverpack/lib/progress.h"

namespace {

std::int32_t offset32(std::uint64_t at, const std::filesystem::path& output) {
  if (at > static_cast<std::uint64_t>(INT32_MAX))
    throw ToolError(output.string() + ": the package grows past 2 GB; its offsets are 32-bit");
  return static_cast<std::int32_t>(at);
}

std::uint64_t sizeOf(const std::filesystem::path& p) {
  std::error_code ec;
  const auto n = std::filesystem::file_size(p, ec);
  if (ec) throw ToolError(p.string() + ": cannot read: " + ec.message());
  return n;
}

PackageEntry entryFor(const std::string& name, std::int32_t kind, std::uint64_t start, const EncodedEntry& e,
                      const std::filesystem::path& output) {
  PackageEntry entry;
  setEntryName(entry, name);
  entry.start = offset32(start, output);
  // An entry is never empty here: an empty file was imploded (a few bytes).
  entry.end = offset32(start + e.storedSize - 1, output);
  entry.kind = kind;
  entry.compressed = e.compressed ? 1 : 0;
  entry.reserved = static_cast<std::int32_t>(e.crc);
  entry.size = offset32(e.expandedSize, output);
  return entry;
}

PackageEntry unusedEntry(std::uint64_t next, const std::filesystem::path& output) {
  PackageEntry entry;
  entry.start = entry.end = offset32(next, output);
  entry.kind = EntryKind::Temp;
  entry.compressed = 1;
  return entry;
}

struct Inputs {
  std::array<std::optional<SlotSource>, kSlotCount> slots;
  std::uint64_t total = 0;
};

}  // namespace

BuildResult buildPackage(const PackagePlan& plan, const BuildTools& tools, const std::filesystem::path& output,
                         Diagnostics& diag) {
  if (const auto n = sizeOf(tools.stub); n != static_cast<std::uint64_t>(packageOffset))
    throw ToolError(tools.stub.string() + ": the stub is " + std::to_string(n) + " bytes; the package offset needs exactly " +
                    std::to_string(packageOffset));

  Inputs in;
  in.slots = plan.slots;
  in.slots[Slot::Installer] = SlotSource{tools.stub, kInstallerSlotName, EntryKind::Executable, {Method::Stored}, ""};
  in.slots[Slot::Compressor] =
      SlotSource{tools.compressor, kCompressorStoredName, EntryKind::TempRenamed, {Method::Stored}, plan.compressorWhere};

  // A data file made on the fly is written beside the output first.
  std::optional<ScratchFile> scratch;
  if (plan.data) {
    scratch.emplace(temporaryNameBeside(output));
    Progress progress("data file", inputSizeOf(*plan.data));
    buildDataFile(*plan.data, scratch->path(), diag, &progress);
    in.slots[Slot::DataFile]->path = scratch->path();
  }
  for (const auto& s : in.slots)
    if (s) in.total += sizeOf(s->path);

  OutputFile out(output);
  Progress progress("building", in.total);
  BuildResult result;
  result.directory.header = plan.header;
  std::array<std::uint8_t, kPackageDirectorySize> block{};
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (slot == Slot::Compressor) out.write(block);  // the directory, filled in last
    const auto& s = in.slots[static_cast<std::size_t>(slot)];
    PackageEntry& entry = result.directory.entries[static_cast<std::size_t>(slot)];
    const std::uint64_t start = out.position();
    if (!s) {
      entry = unusedEntry(start, output);
      continue;
    }
    const EncodeRules rules{.emptyNeedsStream = true, .forceStored = slot <= Slot::Compressor};
    const EncodedEntry e = encodeFile(out, s->path, s->compression, rules, &progress);
    entry = entryFor(s->name, s->kind, start, e, output);
  }
  result.fileSize = out.position();
  offset32(result.fileSize, output);
  encodePackageDirectory(result.directory, block);
  out.seek(static_cast<std::uint64_t>(packageOffset));
  out.write(block);
  out.commit(result.fileSize);
  return result;
}
