#include "tools/saverpack/lib/package_reader.h"

#include <array>
#include <fstream>

#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/entry_decoder.h"
#include "tools/saverpack/lib/file_names.h"
#include "tools/saverpack/lib/output_file.h"

namespace {

constexpr std::uint64_t kInMemoryLimit = 16u << 20;

// An expanded copy on disk, removed with the source.
class ScratchSource : public ByteSource {
 public:
  explicit ScratchSource(std::filesystem::path path) : scratch_(std::move(path)) {}
  bool open() {
    try {
      file_ = std::make_unique<FileSource>(scratch_.path());
      return true;
    } catch (...) {
      return false;
    }
  }
  const std::filesystem::path& path() const { return scratch_.path(); }
  std::uint64_t size() const override { return file_->size(); }
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) override { return file_->read(offset, out); }

 private:
  ScratchFile scratch_;
  std::unique_ptr<FileSource> file_;
};

bool expandedCleanly(const ReadOutcome& r, const PackageEntry& e) {
  return r.result == dcl::Result::Ok && !r.sourceShort && !r.overLimit &&
         r.expanded == static_cast<std::uint64_t>(e.size);
}

}  // namespace

PackageView readPackageView(ByteSource& source) {
  PackageView v;
  v.fileSize = source.size();
  std::array<std::uint8_t, kPackageDirectorySize> block{};
  if (!source.read(static_cast<std::uint64_t>(packageOffset), block)) return v;
  v.hasDirectory = true;
  v.directory = decodePackageDirectory(block);
  return v;
}

std::unique_ptr<ByteSource> expandedEntrySource(ByteSource& package, const PackageEntry& e) {
  if (e.start < 0 || storedLength(e) <= 0 || e.size < 0) return nullptr;
  const StoredRange range{static_cast<std::uint64_t>(e.start), static_cast<std::uint64_t>(storedLength(e)),
                          e.compressed != 0};
  if (!range.compressed) {
    if (range.offset + range.length > package.size()) return nullptr;
    return std::make_unique<WindowSource>(package, range.offset, range.length);
  }
  const auto size = static_cast<std::uint64_t>(e.size);
  if (size <= kInMemoryLimit) {
    std::vector<std::uint8_t> bytes;
    const ExpandedSink sink = [&](std::span<const std::uint8_t> b) { bytes.insert(bytes.end(), b.begin(), b.end()); };
    if (!expandedCleanly(readEntry(package, range, size, &sink, nullptr), e)) return nullptr;
    return std::make_unique<OwnedMemorySource>(std::move(bytes));
  }
  auto scratch = std::make_unique<ScratchSource>(temporaryNameBeside(std::filesystem::temp_directory_path() / "saverpack"));
  {
    std::ofstream out(scratch->path(), std::ios::binary);
    const ExpandedSink sink = [&](std::span<const std::uint8_t> b) {
      out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    };
    if (!expandedCleanly(readEntry(package, range, size, &sink, nullptr), e) || !out.flush()) return nullptr;
  }
  if (!scratch->open()) return nullptr;
  return scratch;
}

std::string slotWhere(const std::string& file, int slot, const PackageEntry& entry) {
  std::string w = file + ": slot " + std::to_string(slot);
  if (!isEmptySlot(entry)) w += " " + quotedName(entryNameOf(entry));
  return w;
}
