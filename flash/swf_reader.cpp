#include "flash/swf_reader.h"

#include <cstring>

#include "flash/swf_file.h"
#include "flash/swf_format.h"
#include "system/logFile.h"

namespace {

// Format notes: bits are numbered from 0 at the most significant bit of the
// first byte; a field of `count` bits starting at `first` has its most
// significant bit there. Signed fields are two's complement of that width.
std::uint32_t readBits(const std::uint8_t* data, std::size_t first, unsigned count) {
  std::uint32_t value = 0;
  for (unsigned i = 0; i < count; ++i) {
    const std::size_t bit = first + i;
    const unsigned set = (data[bit / 8] >> (7 - bit % 8)) & 1u;
    value = (value << 1) | set;
  }
  return value;
}

std::int32_t readSignedBits(const std::uint8_t* data, std::size_t first, unsigned count) {
  const std::uint32_t raw = readBits(data, first, count);
  if (count == 0 || (raw >> (count - 1)) == 0) return static_cast<std::int32_t>(raw);
  return static_cast<std::int32_t>(static_cast<std::int64_t>(raw) - (std::int64_t{1} << count));
}

bool hasSignature(const std::string& signature, const char* expected) {
  return signature.compare(0, std::string::npos, expected, swf::kSignatureSize) == 0;
}

InstallError readSignature(SwfByteSource& source, std::string& signature) {
  char bytes[swf::kSignatureSize];
  const InstallError result = source.readExact(bytes, sizeof bytes);
  if (result == err::Success) signature.assign(bytes, sizeof bytes);
  return result;
}

InstallError readVersion(SwfByteSource& source, SwfMovieInfo& movie) {
  const InstallError result = source.readExact(&movie.swfVersion, 1);
  if (result != err::Success) return result;
  if (movie.swfVersion > swf::kMaxVersion) return err::MovieVersionTooNew;
  if (movie.swfVersion < swf::kMinVersion) return err::MovieVersionTooOld;
  return err::Success;
}

InstallError readFileLength(SwfByteSource& source, std::uint32_t& fileLength) {
  std::uint8_t bytes[4];
  const InstallError result = source.readExact(bytes, sizeof bytes);
  if (result == err::Success) fileLength = convertBytesToDecimal(bytes);
  return result;
}

// Format notes: 5 bits N, then Xmin, Xmax, Ymin, Ymax of N signed bits each,
// padded to (4N + 5) / 8 + 1 bytes. Only the two maxima are kept, as pixels.
InstallError readFrameRectangle(SwfByteSource& source, SwfMovieInfo& movie) {
  std::uint8_t rect[swf::kMaxRectangleSize];
  InstallError result = source.readExact(rect, 1);
  if (result != err::Success) return result;
  const unsigned n = rect[0] >> (8 - swf::kRectangleCountBits);
  const std::size_t size = (4 * n + swf::kRectangleCountBits) / 8 + 1;
  result = source.readExact(rect + 1, size - 1);
  if (result != err::Success) return result;
  const std::size_t xMax = swf::kRectangleCountBits + n;
  const std::size_t yMax = swf::kRectangleCountBits + 3 * n;
  movie.movieWidth = readSignedBits(rect, xMax, n) / swf::kTwipsPerPixel;
  movie.movieHeight = readSignedBits(rect, yMax, n) / swf::kTwipsPerPixel;
  return err::Success;
}

// Reads one tag record header with its long length, if any. `atEnd` is set
// when the movie ends cleanly before a header.
InstallError readTagHeader(SwfByteSource& source, bool& background, std::uint32_t& length,
                           bool& atEnd) {
  atEnd = source.remaining() == 0;
  if (atEnd) return err::Success;
  std::uint8_t header[swf::kTagHeaderSize];
  InstallError result = source.readExact(header, sizeof header);
  if (result != err::Success) return result;
  background = isBackgroundColorTag(header, length);
  if (length != swf::kLongTagLength) return err::Success;
  std::uint8_t longLength[swf::kLongLengthSize];
  result = source.readExact(longLength, sizeof longLength);
  if (result != err::Success) return result;
  length = convertBytesToDecimal(longLength);
  return length >= 0x80000000u ? err::MovieTagTooLong : err::Success;
}

// Walks the tags up to SetBackgroundColor, passing over every other body
// (length 0 and End tags included). `found` is false when the movie ended first.
InstallError walkToBackgroundTag(SwfByteSource& source, std::uint32_t& length, bool& found) {
  for (;;) {
    bool background = false;
    bool atEnd = false;
    const InstallError result = readTagHeader(source, background, length, atEnd);
    if (result != err::Success || atEnd) {
      found = false;
      return result;
    }
    if (background) {
      found = true;
      return err::Success;
    }
    const InstallError skipped = source.skip(length);
    if (skipped != err::Success) return skipped;
  }
}

InstallError readBackground(SwfByteSource& source, std::uint32_t length, SwfMovieInfo& movie) {
  if (length > source.remaining()) return err::MovieReadBeyondEnd;
  if (length < swf::kBackgroundBodyMin) return err::MovieBackgroundTooShort;
  std::uint8_t rgb[swf::kBackgroundBodyMin];
  const InstallError result = source.readExact(rgb, sizeof rgb);
  if (result != err::Success) return result;
  movie.backgroundRed = rgb[0];
  movie.backgroundGreen = rgb[1];
  movie.backgroundBlue = rgb[2];
  return source.skip(length - swf::kBackgroundBodyMin);
}

// The commands a movie issues at its start sit in the bytes right after the
// background tag, up to the end the header gives.
InstallError readCommandWindow(SwfByteSource& source, std::uint32_t fileLength,
                               SwfMovieInfo& movie) {
  const std::int64_t left =
      static_cast<std::int64_t>(fileLength) - static_cast<std::int64_t>(source.position());
  if (left <= 0) return err::MovieCommandWindowEmpty;
  const std::size_t n = left < static_cast<std::int64_t>(swf::kCommandWindow)
                            ? static_cast<std::size_t>(left)
                            : swf::kCommandWindow;
  std::uint8_t window[swf::kCommandWindow];
  const InstallError result = source.readExact(window, n);
  if (result != err::Success) return result;
  findCommandFlag(swf::kAllowScaleCommand, window, n, movie.allowScale);
  findCommandFlag(swf::kFullScreenCommand, window, n, movie.fullScreen);
  return err::Success;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool matchesAt(std::string_view keyword, const std::uint8_t* block, std::size_t at) {
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (lowerAscii(static_cast<char>(block[at + i])) != lowerAscii(keyword[i])) return false;
  }
  return true;
}

}  // namespace

void resetMovieInformation(SwfMovieInfo& movie) {
  movie.backgroundRed = 255;
  movie.backgroundGreen = 255;
  movie.backgroundBlue = 255;
  movie.allowScale = 1;
  movie.fullScreen = 1;
  movie.swfVersion = 0;
}

InstallError readSWFFormatType(SwfByteSource& source, SwfMovieInfo& movie) {
  const InstallError result = readSignature(source, movie.swfSignature);
  if (result != err::Success) return result;
  return hasSignature(movie.swfSignature, swf::kPlainSignature) ||
                 hasSignature(movie.swfSignature, swf::kCompressedSignature)
             ? err::Success
             : err::MovieBadSignature;
}

InstallError readSWFFileFormatType(const std::string& swfFilename, SwfMovieInfo& movie) {
  logFile("readSWFFileFormatType", swfFilename.c_str());
  if (!SwfFile::exists(swfFilename)) return err::Success;
  SwfFile file;
  const InstallError result = file.openRead(swfFilename);
  if (result != err::Success) return result;
  return readSWFFormatType(file, movie);
}

InstallError readSWFMovie(SwfByteSource& source, SwfMovieInfo& movie) {
  std::string signature;
  InstallError result = readSignature(source, signature);
  if (result == err::Success && !hasSignature(signature, swf::kPlainSignature)) {
    result = err::MovieBadSignature;
  }
  std::uint32_t fileLength = 0;
  if (result == err::Success) result = readVersion(source, movie);
  if (result == err::Success) result = readFileLength(source, fileLength);
  if (result == err::Success) result = readFrameRectangle(source, movie);
  if (result == err::Success) result = source.skip(swf::kFrameRateAndCountSize);
  std::uint32_t length = 0;
  bool found = false;
  if (result == err::Success) result = walkToBackgroundTag(source, length, found);
  if (result != err::Success || !found) return result;
  result = readBackground(source, length, movie);
  if (result == err::Success) result = readCommandWindow(source, fileLength, movie);
  return result;
}

InstallError readSWFFile_FWS_Format(const std::string& path, SwfMovieInfo& movie) {
  logFile("readSWFFile_FWS_Format", path.c_str());
  resetMovieInformation(movie);
  if (!SwfFile::exists(path)) return err::Success;
  SwfFile file;
  const InstallError result = file.openRead(path);
  if (result != err::Success) return result;
  return readSWFMovie(file, movie);
}

bool isBackgroundColorTag(const std::uint8_t header[2], std::uint32_t& length) {
  // Stored little-endian; swapped, the code is the top 10 bits.
  const std::uint8_t swapped[2] = {header[1], header[0]};
  const std::uint32_t code = readBits(swapped, 0, 10);
  length = readBits(swapped, 10, 6);
  return code == swf::kSetBackgroundColor;
}

std::uint32_t convertBytesToDecimal(const std::uint8_t bytes[4]) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void findCommandFlag(std::string_view keyword, const std::uint8_t* block, std::size_t n,
                     std::int32_t& flag) {
  flag = -1;
  // A match at p (from 0) has its flag character at p + length + 1, which
  // must lie inside the block.
  const std::size_t need = keyword.size() + 2;
  if (n < need) return;
  for (std::size_t p = 0; p + need <= n; ++p) {
    if (!matchesAt(keyword, block, p)) continue;
    const char c = lowerAscii(static_cast<char>(block[p + keyword.size() + 1]));
    flag = c == 'f' ? 0 : c == 't' ? 1 : -2;
    return;
  }
}
