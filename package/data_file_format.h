#pragma once
// The screen-saver data file (".ssd", carried in package slot 8): the one
// definition of its bytes, shared by the installer, the builder and tests.
//
//   offset        length             content
//   0             1,240              SaverSettings (the saver's own record)
//   1,240         264 x entryCount   DataFileEntry 1..entryCount
//   anywhere      44 + stored        ChunkHeader + stored bytes, one per file,
//                                    at the offset its entry names
//
//   SaverSettings: entryCount i32 at 212, mainMovieMode i32 at 1204; every
//   other byte is the saver's and passes through unchanged into "saver.dat".
//
//   DataFileEntry (264)               ChunkHeader (44)
//     0  type        u8 (3 = alias)     0  magic          "CHUN"
//     1  (saver's)   u8                 4  checksum       u32, our CRC-32 of
//     2  name        256, zero-ended                         the expanded bytes
//   258  (zero)      2                                      (0 = none)
//   260  chunkOffset i32                8  expandedSize   i32 (0 = no file)
//                                      12  storedSize     i32 (when compressed)
//                                      16  compressed     i32 (implode stream)
//                                      20  (zero)         24
//
// All integers little-endian.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::size_t kSaverSettingsSize = 1240;
inline constexpr std::size_t kEntryCountOffset = 212;
inline constexpr std::size_t kMainMovieModeOffset = 1204;
inline constexpr std::size_t kDataFileEntrySize = 264;
inline constexpr std::size_t kDataFileNameSize = 256;
inline constexpr std::size_t kChunkHeaderSize = 44;
inline constexpr std::int32_t kMaxDataFileEntries = 1010;
inline constexpr std::size_t kDataFileDirectorySlots = 1011;  // index 0 unused
inline constexpr std::uint8_t kAliasEntryType = 3;
inline constexpr std::int32_t kMainMovieFromInstaller = 3;
inline constexpr const char* kInstallerMovieName = "installer.swf";
inline constexpr const char* kSaverSettingsFileName = "saver.dat";
inline constexpr char kChunkMagic[4] = {'C', 'H', 'U', 'N'};

// Passed through whole; the installer reads two fields of it.
struct SaverSettings {
  std::uint8_t bytes[kSaverSettingsSize] = {};
};
static_assert(sizeof(SaverSettings) == kSaverSettingsSize);

std::int32_t entryCountOf(const SaverSettings& s);
std::int32_t mainMovieModeOf(const SaverSettings& s);
void setEntryCount(SaverSettings& s, std::int32_t count);
void setMainMovieMode(SaverSettings& s, std::int32_t mode);

struct DataFileEntry {
  std::uint8_t type = 0;
  std::uint8_t saverByte = 0;
  char name[kDataFileNameSize] = {};
  std::uint8_t zero[2] = {};
  std::int32_t chunkOffset = 0;
};
static_assert(sizeof(DataFileEntry) == kDataFileEntrySize);

struct ChunkHeader {
  char magic[4] = {};
  std::uint32_t checksum = 0;
  std::int32_t expandedSize = 0;
  std::int32_t storedSize = 0;
  std::int32_t compressed = 0;
  std::uint8_t zero[24] = {};
};
static_assert(sizeof(ChunkHeader) == kChunkHeaderSize);

DataFileEntry decodeDataFileEntry(std::span<const std::uint8_t, kDataFileEntrySize> bytes);
void encodeDataFileEntry(const DataFileEntry& entry, std::span<std::uint8_t, kDataFileEntrySize> out);
ChunkHeader decodeChunkHeader(std::span<const std::uint8_t, kChunkHeaderSize> bytes);
void encodeChunkHeader(const ChunkHeader& chunk, std::span<std::uint8_t, kChunkHeaderSize> out);

// The entry's name: up to its first zero byte, or the whole field when it
// has none.
std::string dataEntryNameOf(const DataFileEntry& entry);
bool setDataEntryName(DataFileEntry& entry, std::string_view name);  // false when over 255

// True when a relative name stays inside the folder it is appended to: not
// absolute, no drive or UNC prefix, no ".." component, no empty component
// from doubled separators at the start. Both '\' and '/' count as separators.
bool isContainedRelativeName(std::string_view name);
