#include "package/package_format.h"

#include <algorithm>
#include <cstring>

#include "package/byte_io.h"

PackageHeader decodePackageHeader(std::span<const std::uint8_t, kPackageHeaderSize> bytes) {
  ByteReader r(bytes);
  PackageHeader h;
  h.installMode = r.u8();
  h.showLicense = r.u8();
  h.hasReadMe = r.u8();
  h.carriesFlashInstaller = r.u8();
  h.flashVersionIndex = r.u8();
  h.offerDisplayPanel = r.u8();
  r.bytes(h.saverName, kSaverNameSize);
  r.bytes(h.reserved, sizeof h.reserved);
  return h;
}

PackageEntry decodePackageEntry(std::span<const std::uint8_t, kPackageEntrySize> bytes) {
  ByteReader r(bytes);
  PackageEntry e;
  e.nameLength = r.u8();
  r.bytes(e.name, kEntryNameSize);
  e.start = r.i32();
  e.end = r.i32();
  e.kind = r.i32();
  e.compressed = r.u8();
  r.bytes(e.padding, sizeof e.padding);
  e.reserved = r.i32();
  e.size = r.i32();
  return e;
}

PackageDirectory decodePackageDirectory(std::span<const std::uint8_t, kPackageDirectorySize> bytes) {
  PackageDirectory dir;
  dir.header = decodePackageHeader(bytes.first<kPackageHeaderSize>());
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::size_t at = kPackageHeaderSize + static_cast<std::size_t>(slot) * kPackageEntrySize;
    dir.entries[static_cast<std::size_t>(slot)] = decodePackageEntry(bytes.subspan(at).first<kPackageEntrySize>());
  }
  return dir;
}

void encodePackageHeader(const PackageHeader& h, std::span<std::uint8_t, kPackageHeaderSize> out) {
  ByteWriter w(out);
  w.u8(h.installMode);
  w.u8(h.showLicense);
  w.u8(h.hasReadMe);
  w.u8(h.carriesFlashInstaller);
  w.u8(h.flashVersionIndex);
  w.u8(h.offerDisplayPanel);
  w.bytes(h.saverName, kSaverNameSize);
  w.bytes(h.reserved, sizeof h.reserved);
}

void encodePackageEntry(const PackageEntry& e, std::span<std::uint8_t, kPackageEntrySize> out) {
  ByteWriter w(out);
  w.u8(e.nameLength);
  w.bytes(e.name, kEntryNameSize);
  w.i32(e.start);
  w.i32(e.end);
  w.i32(e.kind);
  w.u8(e.compressed);
  w.bytes(e.padding, sizeof e.padding);
  w.i32(e.reserved);
  w.i32(e.size);
}

void encodePackageDirectory(const PackageDirectory& dir, std::span<std::uint8_t, kPackageDirectorySize> out) {
  encodePackageHeader(dir.header, out.first<kPackageHeaderSize>());
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const std::size_t at = kPackageHeaderSize + static_cast<std::size_t>(slot) * kPackageEntrySize;
    encodePackageEntry(dir.entries[static_cast<std::size_t>(slot)], out.subspan(at).first<kPackageEntrySize>());
  }
}

std::string saverNameOf(const PackageHeader& header) {
  const void* zero = std::memchr(header.saverName, 0, kSaverNameSize);
  const std::size_t n = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - header.saverName)
                             : kSaverNameSize;
  return std::string(header.saverName, n);
}

bool setSaverName(PackageHeader& header, std::string_view name) {
  if (name.size() > kSaverNameSize) return false;
  std::memset(header.saverName, 0, kSaverNameSize);
  std::memcpy(header.saverName, name.data(), name.size());
  return true;
}

std::string entryNameOf(const PackageEntry& entry) { return std::string(entry.name, entry.nameLength); }

bool isEmptySlot(const PackageEntry& entry) { return entry.nameLength == 0; }

void setEntryName(PackageEntry& entry, std::string_view name) {
  const std::size_t n = std::min(name.size(), kEntryNameSize);
  std::memset(entry.name, 0, kEntryNameSize);
  std::memcpy(entry.name, name.data(), n);
  entry.nameLength = static_cast<std::uint8_t>(n);
}

std::int64_t storedLength(const PackageEntry& entry) {
  return static_cast<std::int64_t>(entry.end) - static_cast<std::int64_t>(entry.start) + 1;
}

namespace {
// The extension starts at the last '.' that follows every path delimiter.
std::size_t extensionStart(const std::string& name) {
  const std::size_t dot = name.find_last_of(".\\:/");
  if (dot == std::string::npos || name[dot] != '.') return std::string::npos;
  return dot;
}
}  // namespace

std::string changeFileExt(const std::string& name, const std::string& extension) {
  const std::size_t dot = extensionStart(name);
  return (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

std::string extractFileExt(const std::string& name) {
  const std::size_t dot = extensionStart(name);
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

EntryTarget entryTarget(std::int32_t kind, const std::string& name) {
  switch (kind) {
    case EntryKind::InstallFolder:
    case EntryKind::SaverFile:
    case EntryKind::Executable:
    case EntryKind::InstallFolderToo:
      return {TargetFolder::Install, name};
    case EntryKind::SystemFolder:
      return {TargetFolder::System, name};
    case EntryKind::Library:
      if (name == "flashax7.exe" || name == "install_flash_player_active_x.msi") return {TargetFolder::Temp, name};
      return {TargetFolder::System, changeFileExt(name, ".dll")};
    case EntryKind::TempRenamed:
      return {TargetFolder::Temp, name == kCompressorStoredName ? std::string(kCompressorLibraryName) : name};
    case EntryKind::Temp:
      return {TargetFolder::Temp, name};
    default:
      return {TargetFolder::None, name};
  }
}
