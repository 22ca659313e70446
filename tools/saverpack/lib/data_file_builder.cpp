#include "tools/saverpack/lib/data_file_builder.h"

#include <array>
#include <fstream>

#include "package/data_file_format.h"
#include "tools/saverpack/lib/entry_encoder.h"
#include "tools/saverpack/lib/output_file.h"

namespace {

SaverSettings settingsFor(const DataPlan& plan) {
  SaverSettings s;
  if (plan.settings) {
    std::ifstream in(*plan.settings, std::ios::binary);
    in.read(reinterpret_cast<char*>(s.bytes), kSaverSettingsSize);
    if (static_cast<std::size_t>(in.gcount()) != kSaverSettingsSize)
      throw ToolError(plan.settings->string() + ": cannot read the 1240-byte settings record");
  }
  setEntryCount(s, static_cast<std::int32_t>(plan.items.size()));
  if (plan.mainMovieMode) setMainMovieMode(s, *plan.mainMovieMode);
  return s;
}

std::int32_t offset32(std::uint64_t at, const std::filesystem::path& output) {
  if (at > static_cast<std::uint64_t>(INT32_MAX)) throw ToolError(output.string() + ": the data file grows past 2 GB");
  return static_cast<std::int32_t>(at);
}

// One chunk at the current position: header, then the stored bytes.
std::int32_t writeChunk(OutputFile& out, const DataItem& item, Diagnostics& diag, Progress* progress) {
  const std::uint64_t at = out.position();
  std::array<std::uint8_t, kChunkHeaderSize> header{};
  out.write(header);
  const EncodedEntry e = encodeFile(out, item.path, item.compression, {}, progress);
  const std::uint64_t end = out.position();
  if (e.expandedSize == 0) diag.warning(item.where, item.path.string() + " is empty; the installer writes no file for it");
  ChunkHeader c;
  std::copy(std::begin(kChunkMagic), std::end(kChunkMagic), c.magic);
  c.checksum = e.crc;
  c.expandedSize = offset32(e.expandedSize, out.target());
  c.storedSize = offset32(e.storedSize, out.target());
  c.compressed = e.compressed ? 1 : 0;
  encodeChunkHeader(c, header);
  out.seek(at);
  out.write(header);
  out.seek(end);
  return offset32(at, out.target());
}

}  // namespace

std::uint64_t inputSizeOf(const DataPlan& plan) {
  std::uint64_t total = 0;
  for (const DataItem& i : plan.items) {
    std::error_code ec;
    if (!i.alias) total += std::filesystem::file_size(i.path, ec);
  }
  return total;
}

void buildDataFile(const DataPlan& plan, const std::filesystem::path& output, Diagnostics& diag, Progress* progress) {
  if (plan.items.size() > static_cast<std::size_t>(kMaxDataFileEntries))
    throw ToolError(output.string() + ": " + std::to_string(plan.items.size()) + " entries; at most 1010 fit");
  OutputFile out(output);
  const SaverSettings settings = settingsFor(plan);
  out.write(settings.bytes);
  std::vector<std::uint8_t> directory(plan.items.size() * kDataFileEntrySize);
  out.write(directory);

  for (std::size_t i = 0; i < plan.items.size(); ++i) {
    const DataItem& item = plan.items[i];
    DataFileEntry e;
    e.type = item.alias ? kAliasEntryType : item.type;
    if (!setDataEntryName(e, item.name)) throw ToolError(item.where + ": the name is too long for the data file");
    if (!item.alias) e.chunkOffset = writeChunk(out, item, diag, progress);
    encodeDataFileEntry(e, std::span(directory).subspan(i * kDataFileEntrySize).first<kDataFileEntrySize>());
  }
  const std::uint64_t size = out.position();
  out.seek(kSaverSettingsSize);
  out.write(directory);
  out.commit(size);
}
