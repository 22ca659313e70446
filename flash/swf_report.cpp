#include "flash/swf_report.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <system_error>

#include "flash/swf_file.h"
#include "flash/swf_format.h"
#include "flash/swf_inflate.h"

namespace {

// A fresh folder for the expanded copy, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return;
    std::random_device seed;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const std::filesystem::path candidate = base / ("saverpack-movie-" + std::to_string(seed()));
      if (std::filesystem::create_directory(candidate, ec)) {
        path_ = candidate.string() + static_cast<char>(std::filesystem::path::preferred_separator);
        return;
      }
    }
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A bad signature may hold any bytes; the text shows them as '.'.
std::string printable(const std::string& bytes) {
  std::string text = bytes;
  for (char& c : text) {
    if (c < 0x20 || c > 0x7E) c = '.';
  }
  return text;
}

std::string resultText(InstallError result) {
  if (result == err::Success) return "0 (Success)";
  const char* name = errorName(result);
  return std::to_string(result) + " (" + (name != nullptr ? name : "system error") + ")";
}

}  // namespace

InstallError readMovieForReport(const std::string& path, SwfMovieInfo& movie) {
  InstallError result = readSWFFileFormatType(path, movie);
  if (result != err::Success || !SwfFile::exists(path)) return result;
  if (movie.swfSignature == swf::kPlainSignature) return readSWFFile_FWS_Format(path, movie);
  ScratchFolder folder;
  if (folder.path().empty()) return err::MovieIOError;
  result = inflateSWFFileIntoFolder(path, folder.path());
  if (result != err::Success) return result;
  return readSWFFile_FWS_Format(folder.path() + swf::kUncompressedName, movie);
}

std::string movieReportText(const SwfMovieInfo& movie, InstallError result) {
  std::string text;
  text += "signature: " + printable(movie.swfSignature) + "\n";
  text += "version: " + std::to_string(movie.swfVersion) + "\n";
  text += "frame size: " + std::to_string(movie.movieWidth) + " x " +
          std::to_string(movie.movieHeight) + "\n";
  text += "background: " + std::to_string(movie.backgroundRed) + " " +
          std::to_string(movie.backgroundGreen) + " " + std::to_string(movie.backgroundBlue) + "\n";
  text += "allowScale: " + std::to_string(movie.allowScale) + "\n";
  text += "fullScreen: " + std::to_string(movie.fullScreen) + "\n";
  text += "result: " + resultText(result) + "\n";
  return text;
}

std::string movieReportJson(const SwfMovieInfo& movie, InstallError result) {
  const nlohmann::ordered_json report = {
      {"result", result},
      {"signature", movie.swfSignature},
      {"version", movie.swfVersion},
      {"width", movie.movieWidth},
      {"height", movie.movieHeight},
      {"background", {movie.backgroundRed, movie.backgroundGreen, movie.backgroundBlue}},
      {"allowScale", movie.allowScale},
      {"fullScreen", movie.fullScreen},
  };
  // A bad signature may hold any bytes; they must not stop the report.
  return report.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

int runMovieCommand(const std::string& path, bool json, std::FILE* out) {
  if (!SwfFile::exists(path)) {
    std::fprintf(stderr, "saverpack movie: no such file: %s\n", path.c_str());
    return 1;
  }
  SwfMovieInfo movie;
  const InstallError result = readMovieForReport(path, movie);
  const std::string report = json ? movieReportJson(movie, result) : movieReportText(movie, result);
  std::fwrite(report.data(), 1, report.size(), out);
  return 0;
}
