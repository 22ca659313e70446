#pragma once
// The installer package: the one definition of its bytes, shared by the
// installer, the package builder and the tests.
//
//   file offset                                        length
//   0          installer executable proper              packageOffset (675,328)
//   675,328    PackageHeader                            72
//   675,400    PackageEntry x 11 (slots 0..10)          3,080
//   678,480    entry data, each at its entry's absolute start..end
//
//   PackageHeader (72)                 PackageEntry (280)
//     0  installMode        u8           0  name length      u8 (0 = unused slot)
//     1  showLicense        u8           1  name             255 bytes, counted
//     2  hasReadMe          u8         256  start            i32, absolute, first byte
//     3  carriesFlashInstaller u8      260  end              i32, absolute, last byte
//     4  flashVersionIndex  u8         264  kind             i32 (EntryKind)
//     5  offerDisplayPanel  u8         268  compressed       u8 (implode stream)
//     6  saverName          64 bytes   269  padding          3 bytes
//    70  reserved           2 bytes    272  reserved         i32 (our CRC-32, 0 = none)
//                                      276  size             i32, length once written
//
// All integers little-endian. There is no signature or version: the
// installer trusts the fixed offset.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::int32_t packageOffset = 675328;  // 0xA4E00

inline constexpr std::size_t kPackageHeaderSize = 72;
inline constexpr std::size_t kPackageEntrySize = 280;
inline constexpr int kSlotCount = 11;
inline constexpr std::size_t kPackageDirectorySize = kPackageHeaderSize + kSlotCount * kPackageEntrySize;
static_assert(kPackageDirectorySize == 3152);

inline constexpr std::size_t kSaverNameSize = 64;
inline constexpr std::size_t kEntryNameSize = 255;

// The header's presentation byte. Any other value shows neither picture
// nor movie.
namespace InstallMode {
inline constexpr std::uint8_t Bitmap = 1;
inline constexpr std::uint8_t Movie = 2;
inline constexpr std::uint8_t MovieToo = 3;  // handled as Movie
inline constexpr std::uint8_t Quiet = 4;
inline constexpr std::uint8_t Jpeg = 8;
}  // namespace InstallMode

struct PackageHeader {
  std::uint8_t installMode = 0;
  std::uint8_t showLicense = 0;
  std::uint8_t hasReadMe = 0;
  std::uint8_t carriesFlashInstaller = 0;
  std::uint8_t flashVersionIndex = 0;
  std::uint8_t offerDisplayPanel = 0;
  char saverName[kSaverNameSize] = {};
  std::uint8_t reserved[2] = {};
};
static_assert(sizeof(PackageHeader) == kPackageHeaderSize);

// Kind codes; the number decides the folder an entry is written to.
namespace EntryKind {
inline constexpr std::int32_t InstallFolder = 1;
inline constexpr std::int32_t SystemFolder = 2;
inline constexpr std::int32_t Library = 3;  // temp folder for the player installers, else system folder as ".dll"
inline constexpr std::int32_t TempRenamed = 4;  // temp folder; "impborl.dat" becomes "impborl.dll"
inline constexpr std::int32_t SaverFile = 5;
inline constexpr std::int32_t Executable = 6;
inline constexpr std::int32_t Temp = 7;
inline constexpr std::int32_t InstallFolderToo = 10;
}  // namespace EntryKind

struct PackageEntry {
  std::uint8_t nameLength = 0;
  char name[kEntryNameSize] = {};
  std::int32_t start = 0;
  std::int32_t end = 0;
  std::int32_t kind = 0;
  std::uint8_t compressed = 0;
  std::uint8_t padding[3] = {};
  std::int32_t reserved = 0;
  std::int32_t size = 0;
};
static_assert(sizeof(PackageEntry) == kPackageEntrySize);

// The 3,152-byte block as the installer keeps it for the whole run.
struct PackageDirectory {
  PackageHeader header;
  std::array<PackageEntry, kSlotCount> entries;
};

// Fixed slot roles.
namespace Slot {
inline constexpr int Installer = 0;
inline constexpr int Compressor = 1;
inline constexpr int FlashInstaller = 2;
inline constexpr int Picture = 3;
inline constexpr int License = 4;
inline constexpr int ReadMe = 5;
inline constexpr int Module = 6;
inline constexpr int SaverMovie = 7;
inline constexpr int DataFile = 8;
inline constexpr int Support1 = 9;
inline constexpr int Support2 = 10;
}  // namespace Slot

inline constexpr const char* kCompressorStoredName = "impborl.dat";
inline constexpr const char* kCompressorLibraryName = "impborl.dll";
inline constexpr const char* kInstallerSlotName = "install.exe";

// Decoding never fails on its own: the block is fixed-size. It reads the
// bytes field by field; the span must hold at least kPackageDirectorySize.
PackageHeader decodePackageHeader(std::span<const std::uint8_t, kPackageHeaderSize> bytes);
PackageEntry decodePackageEntry(std::span<const std::uint8_t, kPackageEntrySize> bytes);
PackageDirectory decodePackageDirectory(std::span<const std::uint8_t, kPackageDirectorySize> bytes);

void encodePackageHeader(const PackageHeader& header, std::span<std::uint8_t, kPackageHeaderSize> out);
void encodePackageEntry(const PackageEntry& entry, std::span<std::uint8_t, kPackageEntrySize> out);
void encodePackageDirectory(const PackageDirectory& dir, std::span<std::uint8_t, kPackageDirectorySize> out);

// The saver's name: up to the first zero byte, or all 64 bytes.
std::string saverNameOf(const PackageHeader& header);
bool setSaverName(PackageHeader& header, std::string_view name);  // false when over 64

// The entry's counted name; bytes after the count are not significant.
std::string entryNameOf(const PackageEntry& entry);
bool isEmptySlot(const PackageEntry& entry);
// Stores a name (at most 255 characters; longer ones are cut) and its count.
void setEntryName(PackageEntry& entry, std::string_view name);

// Stored length of an entry: end - start + 1, computed without overflow.
std::int64_t storedLength(const PackageEntry& entry);

enum class TargetFolder { None, Install, System, Temp };

struct EntryTarget {
  TargetFolder folder = TargetFolder::None;
  std::string name;  // the file name in that folder
};

// Where an entry of this kind and stored name is written. The name
// comparisons are exact and case-sensitive.
EntryTarget entryTarget(std::int32_t kind, const std::string& name);

// Replaces the extension (from the last '.' of the last path component) or
// appends one when there is none. `extension` includes its dot.
std::string changeFileExt(const std::string& name, const std::string& extension);

// The extension with its dot ("" when none), from the last path component.
std::string extractFileExt(const std::string& name);
