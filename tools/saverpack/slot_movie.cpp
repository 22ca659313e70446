#include "tools/saverpack/slot_movie.h"

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <vector>

#include "flash/swf_report.h"
#include "package/package_format.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/package_reader.h"

namespace fs = std::filesystem;

namespace {

bool looksLikeMovie(const PackageView& view) {
  const PackageEntry& picture = view.directory.entries[Slot::Picture];
  if (isEmptySlot(picture)) return false;
  const std::uint8_t mode = view.directory.header.installMode;
  if (mode == InstallMode::Movie || mode == InstallMode::MovieToo) return true;
  std::string ext = extractFileExt(entryNameOf(picture));
  for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return ext == ".swf";
}

// The reader works on files, so the expanded movie goes to a scratch file
// that is removed again.
class ScratchFile {
 public:
  ScratchFile() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("saverpack-movie-" + std::to_string(stamp) + "-" + std::to_string(counter++) + ".swf");
  }
  ~ScratchFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

bool copyToFile(ByteSource& source, const fs::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  std::vector<std::uint8_t> block(64 * 1024);
  for (std::uint64_t at = 0; at < source.size();) {
    const std::uint64_t n = std::min<std::uint64_t>(block.size(), source.size() - at);
    std::span<std::uint8_t> part(block.data(), static_cast<std::size_t>(n));
    if (!source.read(at, part)) return false;
    out.write(reinterpret_cast<const char*>(part.data()), static_cast<std::streamsize>(n));
    at += n;
  }
  return static_cast<bool>(out);
}

}  // namespace

std::optional<SlotMovieReport> reportSlotMovie(ByteSource& package) {
  const PackageView view = readPackageView(package);
  if (!view.hasDirectory || !looksLikeMovie(view)) return std::nullopt;
  std::unique_ptr<ByteSource> movie = expandedEntrySource(package, view.directory.entries[Slot::Picture]);
  if (!movie) return std::nullopt;
  ScratchFile file;
  if (!copyToFile(*movie, file.path())) return std::nullopt;
  SwfMovieInfo info;
  const InstallError result = readMovieForReport(file.path().string(), info);
  return SlotMovieReport{movieReportText(info, result), movieReportJson(info, result)};
}
