#include "tools/saverpack/lib/data_file_reader.h"

#include <array>

#include "tools/saverpack/lib/byte_source.h"

DataFileView readDataFileView(ByteSource& source) {
  DataFileView v;
  if (!source.read(0, std::span<std::uint8_t>(v.settings.bytes, kSaverSettingsSize))) return v;
  v.settingsComplete = true;
  v.entryCount = entryCountOf(v.settings);
  if (v.entryCount <= 0) return v;
  const std::uint64_t room = (source.size() - kSaverSettingsSize) / kDataFileEntrySize;
  const std::uint64_t n = std::min<std::uint64_t>(static_cast<std::uint64_t>(v.entryCount), room);
  v.entries.reserve(static_cast<std::size_t>(n));
  std::array<std::uint8_t, kDataFileEntrySize> record{};
  for (std::uint64_t i = 0; i < n; ++i) {
    if (!source.read(kSaverSettingsSize + i * kDataFileEntrySize, record)) break;
    v.entries.push_back(decodeDataFileEntry(record));
  }
  return v;
}

ChunkView readChunkHeader(ByteSource& source, std::int32_t chunkOffset) {
  ChunkView c;
  std::array<std::uint8_t, kChunkHeaderSize> bytes{};
  if (chunkOffset < 0 || !source.read(static_cast<std::uint64_t>(chunkOffset), bytes)) return c;
  c.present = true;
  c.header = decodeChunkHeader(bytes);
  return c;
}
