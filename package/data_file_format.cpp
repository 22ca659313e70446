#include "package/data_file_format.h"

#include <cstring>

#include "package/byte_io.h"

namespace {
std::int32_t readI32At(const SaverSettings& s, std::size_t at) {
  ByteReader r(std::span<const std::uint8_t>(s.bytes + at, 4));
  return r.i32();
}
void writeI32At(SaverSettings& s, std::size_t at, std::int32_t v) {
  ByteWriter w(std::span<std::uint8_t>(s.bytes + at, 4));
  w.i32(v);
}
}  // namespace

std::int32_t entryCountOf(const SaverSettings& s) { return readI32At(s, kEntryCountOffset); }
std::int32_t mainMovieModeOf(const SaverSettings& s) { return readI32At(s, kMainMovieModeOffset); }
void setEntryCount(SaverSettings& s, std::int32_t count) { writeI32At(s, kEntryCountOffset, count); }
void setMainMovieMode(SaverSettings& s, std::int32_t mode) { writeI32At(s, kMainMovieModeOffset, mode); }

DataFileEntry decodeDataFileEntry(std::span<const std::uint8_t, kDataFileEntrySize> bytes) {
  ByteReader r(bytes);
  DataFileEntry e;
  e.type = r.u8();
  e.saverByte = r.u8();
  r.bytes(e.name, kDataFileNameSize);
  r.bytes(e.zero, sizeof e.zero);
  e.chunkOffset = r.i32();
  return e;
}

void encodeDataFileEntry(const DataFileEntry& e, std::span<std::uint8_t, kDataFileEntrySize> out) {
  ByteWriter w(out);
  w.u8(e.type);
  w.u8(e.saverByte);
  w.bytes(e.name, kDataFileNameSize);
  w.bytes(e.zero, sizeof e.zero);
  w.i32(e.chunkOffset);
}

ChunkHeader decodeChunkHeader(std::span<const std::uint8_t, kChunkHeaderSize> bytes) {
  ByteReader r(bytes);
  ChunkHeader c;
  r.bytes(c.magic, sizeof c.magic);
  c.checksum = r.u32();
  c.expandedSize = r.i32();
  c.storedSize = r.i32();
  c.compressed = r.i32();
  r.bytes(c.zero, sizeof c.zero);
  return c;
}

void encodeChunkHeader(const ChunkHeader& c, std::span<std::uint8_t, kChunkHeaderSize> out) {
  ByteWriter w(out);
  w.bytes(c.magic, sizeof c.magic);
  w.u32(c.checksum);
  w.i32(c.expandedSize);
  w.i32(c.storedSize);
  w.i32(c.compressed);
  w.bytes(c.zero, sizeof c.zero);
}

std::string dataEntryNameOf(const DataFileEntry& entry) {
  const void* zero = std::memchr(entry.name, 0, kDataFileNameSize);
  const std::size_t n =
      zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - entry.name) : kDataFileNameSize;
  return std::string(entry.name, n);
}

bool setDataEntryName(DataFileEntry& entry, std::string_view name) {
  if (name.size() >= kDataFileNameSize) return false;
  std::memset(entry.name, 0, kDataFileNameSize);
  std::memcpy(entry.name, name.data(), name.size());
  return true;
}

bool isContainedRelativeName(std::string_view name) {
  if (name.empty()) return false;
  if (name[0] == '\\' || name[0] == '/') return false;            // rooted, or a UNC prefix
  if (name.find(':') != std::string_view::npos) return false;     // a drive, or a stream name
  std::size_t begin = 0;
  while (begin <= name.size()) {
    std::size_t end = name.find_first_of("\\/", begin);
    if (end == std::string_view::npos) end = name.size();
    std::string_view part = name.substr(begin, end - begin);
    // Windows ignores trailing dots and blanks, so "..." or ".. " climb too.
    std::size_t keep = part.size();
    while (keep > 0 && (part[keep - 1] == '.' || part[keep - 1] == ' ')) --keep;
    if (keep == 0 && part.find("..") != std::string_view::npos) return false;
    begin = end + 1;
  }
  return true;
}
