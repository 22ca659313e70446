// Any bytes as a movie file, read the way the movie panel reads it: the
// signature, then a plain movie directly or a compressed one through its
// expanded copy. Also the plain reader over memory. Every outcome must be a
// known code and every field in its range.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "flash/swf_format.h"
#include "flash/swf_inflate.h"
#include "flash/swf_reader.h"

namespace {

const std::string& scratchFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/fuzz_swf_XXXXXX";
    if (::mkdtemp(pattern) == nullptr) abort();
    return std::string(pattern) + "/";
  }();
  return folder;
}

void writeMovie(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) abort();
  std::fclose(f);
}

bool knownCode(InstallError r) {
  return r == err::Success || r == err::MovieBadSignature || r == err::MovieVersionTooNew ||
         r == err::MovieVersionTooOld || (r <= err::MovieReadBeyondEnd && r >= err::MovieInflateError);
}

void check(InstallError result, const SwfMovieInfo& movie) {
  if (!knownCode(result)) abort();
  for (std::int32_t c : {movie.backgroundRed, movie.backgroundGreen, movie.backgroundBlue}) {
    if (c < 0 || c > 255) abort();
  }
  for (std::int32_t f : {movie.allowScale, movie.fullScreen}) {
    if (f < -2 || f > 1) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SwfMemorySource memory(data, size);
  SwfMovieInfo inMemory;
  check(readSWFMovie(memory, inMemory), inMemory);

  const std::string& folder = scratchFolder();
  const std::string path = folder + "movie.swf";
  writeMovie(path, data, size);
  SwfMovieInfo movie;
  InstallError result = readSWFFileFormatType(path, movie);
  if (result == err::Success && movie.swfSignature == swf::kPlainSignature) {
    result = readSWFFile_FWS_Format(path, movie);
  } else if (result == err::Success) {
    result = inflateSWFFileIntoFolder(path, folder);
    if (result == err::Success) result = readSWFFile_FWS_Format(folder + swf::kUncompressedName, movie);
  }
  check(result, movie);
  return 0;
}
