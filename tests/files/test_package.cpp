#include "tests/files/test_package.h"

#include <windows.h>

#include <span>

#include "dcl/dcl.h"
#include "package/byte_io.h"

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes sampleBytes(std::size_t size, unsigned seed) {
  static const char kWords[] = "screen saver movie frame settings ";
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) {
    out[i] = static_cast<std::uint8_t>(kWords[(i * seed + i / 7) % (sizeof kWords - 1)]);
  }
  return out;
}

Bytes implodeBytes(const Bytes& data) {
  Bytes out;
  dcl::implode(data, out);
  return out;
}

Bytes TestPackage::build(PackageDirectory* written) const {
  Bytes out(static_cast<std::size_t>(packageOffset) + kPackageDirectorySize, 0);
  PackageDirectory dir;
  dir.header = header;
  setEntryName(dir.entries[0], kInstallerSlotName);
  dir.entries[0].end = packageOffset - 1;
  dir.entries[0].kind = EntryKind::Executable;
  dir.entries[0].size = packageOffset;
  for (int slot = 1; slot < kSlotCount; ++slot) {
    PackageEntry& e = dir.entries[static_cast<std::size_t>(slot)];
    const std::optional<TestEntry>& source = slots[static_cast<std::size_t>(slot)];
    const std::int32_t at = static_cast<std::int32_t>(out.size());
    if (!source) {
      // Unused slots as the original builder leaves them.
      e.start = e.end = at;
      e.kind = EntryKind::Temp;
      e.compressed = 1;
      continue;
    }
    const Bytes stored = source->compress ? implodeBytes(source->bytes) : source->bytes;
    setEntryName(e, source->name);
    e.kind = source->kind;
    e.compressed = source->compress ? 1 : 0;
    e.start = at;
    e.end = at + static_cast<std::int32_t>(stored.size()) - 1;
    e.size = static_cast<std::int32_t>(source->bytes.size());
    out.insert(out.end(), stored.begin(), stored.end());
  }
  writeDirectory(out, dir);
  if (written) *written = dir;
  return out;
}

void writeDirectory(Bytes& package, const PackageDirectory& directory) {
  encodePackageDirectory(directory, std::span<std::uint8_t, kPackageDirectorySize>(
                                        package.data() + packageOffset, kPackageDirectorySize));
}

Bytes compressorLibrary() {
  char self[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, n);
  path = path.substr(0, path.find_last_of('\\') + 1) + kCompressorLibraryName;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  Bytes bytes(GetFileSize(h, nullptr));
  DWORD got = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(h);
  bytes.resize(got);
  return bytes;
}

TestPackage samplePackage(const std::string& saverName, const Bytes& dataFile) {
  TestPackage p;
  p.header.installMode = InstallMode::Bitmap;
  p.header.offerDisplayPanel = 1;
  setSaverName(p.header, saverName);
  p.slots[Slot::Compressor] = TestEntry{kCompressorStoredName, EntryKind::TempRenamed, compressorLibrary()};
  p.slots[Slot::Picture] = TestEntry{"installer.bmp", EntryKind::Temp, sampleBytes(3000, 2), true};
  p.slots[Slot::Module] = TestEntry{saverName + ".scr", EntryKind::SystemFolder, sampleBytes(5000, 3)};
  p.slots[Slot::SaverMovie] = TestEntry{"movie.scf", EntryKind::SaverFile, sampleBytes(20000, 4), true};
  p.slots[Slot::DataFile] =
      TestEntry{saverName + ".ssd", EntryKind::TempRenamed, dataFile.empty() ? sampleBytes(2000, 5) : dataFile};
  p.slots[Slot::Support1] = TestEntry{"saver1.dll", EntryKind::SaverFile, sampleBytes(700, 6)};
  p.slots[Slot::Support2] = TestEntry{"saver2.dll", EntryKind::SaverFile, sampleBytes(900, 7), true};
  return p;
}

BuiltDataFile buildDataFile(const std::vector<TestDataItem>& items, std::int32_t mainMovieMode) {
  BuiltDataFile built;
  SaverSettings settings;
  for (std::size_t i = 0; i < kSaverSettingsSize; ++i) settings.bytes[i] = static_cast<std::uint8_t>(i * 7);
  setEntryCount(settings, static_cast<std::int32_t>(items.size()));
  setMainMovieMode(settings, mainMovieMode);
  Bytes& out = built.bytes;
  out.assign(settings.bytes, settings.bytes + kSaverSettingsSize);
  const std::size_t directoryAt = out.size();
  out.resize(directoryAt + items.size() * kDataFileEntrySize, 0);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const TestDataItem& item = items[i];
    DataFileEntry entry;
    entry.type = item.alias ? kAliasEntryType : 0;
    setDataEntryName(entry, item.name);
    std::uint32_t at = 0;
    if (!item.alias) {
      at = static_cast<std::uint32_t>(out.size());
      const Bytes stored = item.compress ? implodeBytes(item.bytes) : item.bytes;
      ChunkHeader chunk;
      std::copy(kChunkMagic, kChunkMagic + 4, chunk.magic);
      chunk.expandedSize = static_cast<std::int32_t>(item.bytes.size());
      chunk.storedSize = static_cast<std::int32_t>(stored.size());
      chunk.compressed = item.compress ? 1 : 0;
      std::uint8_t header[kChunkHeaderSize];
      encodeChunkHeader(chunk, std::span<std::uint8_t, kChunkHeaderSize>(header));
      out.insert(out.end(), header, header + kChunkHeaderSize);
      out.insert(out.end(), stored.begin(), stored.end());
    }
    entry.chunkOffset = static_cast<std::int32_t>(at);
    built.chunkOffsets.push_back(at);
    encodeDataFileEntry(entry, std::span<std::uint8_t, kDataFileEntrySize>(
                                   out.data() + directoryAt + i * kDataFileEntrySize, kDataFileEntrySize));
  }
  return built;
}
