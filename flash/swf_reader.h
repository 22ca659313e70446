#pragma once
// Reading a movie before it is handed to the player: its signature, and from
// a plain ("FWS") movie its header, frame size, background colour and two
// commands it may issue. A compressed movie is first expanded into a plain
// copy (swf_inflate.h). The results belong to the movie panel, which keeps
// one SwfMovieInfo.
//
// Every failure is a result code: a movie that gives anything but 0 cannot be
// played. A missing file is no error here: nothing is read and 0 returned.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "flash/swf_source.h"
#include "installer/install_error.h"

struct SwfMovieInfo {
  std::string swfSignature;  // first three bytes of the movie file
  std::uint8_t swfVersion = 0;
  std::int32_t movieWidth = 0;  // pixels (twips div 20)
  std::int32_t movieHeight = 0;
  std::int32_t backgroundRed = 255;
  std::int32_t backgroundGreen = 255;
  std::int32_t backgroundBlue = 255;
  // Command flags: 1 true, 0 false, -1 not found, -2 another value.
  std::int32_t allowScale = 1;
  std::int32_t fullScreen = 1;
};

// Sets `swfSignature` from the first three bytes of the file. 0 for "FWS" or
// "CWS", err::MovieBadSignature otherwise, err::MovieReadBeyondEnd for a
// file shorter than that, the system's number when it cannot be opened.
// A missing file leaves the signature as it was.
InstallError readSWFFileFormatType(const std::string& swfFilename, SwfMovieInfo& movie);
InstallError readSWFFormatType(SwfByteSource& source, SwfMovieInfo& movie);

// Reads the header, the frame size, the background colour and the command
// flags of a plain movie. First resets the background to white, both flags to
// 1 and `swfVersion` to 0 (the frame size is left as it was). Results:
// 0, err::MovieBadSignature, err::MovieVersionTooNew (above 8; `swfVersion`
// holds it), err::MovieVersionTooOld (below 3), or one of the movie codes
// -1101 to -1105. A movie that ends without a SetBackgroundColor tag keeps
// the white background and both flags, and gives 0.
InstallError readSWFFile_FWS_Format(const std::string& path, SwfMovieInfo& movie);
// The same over a source, from its current position (the signature), without
// the reset.
InstallError readSWFMovie(SwfByteSource& source, SwfMovieInfo& movie);
void resetMovieInformation(SwfMovieInfo& movie);

// Decodes a 2-byte tag record header as stored (little-endian): true when its
// code is SetBackgroundColor; `length` gets its 6-bit length (63 means that a
// 4-byte length follows).
bool isBackgroundColorTag(const std::uint8_t header[2], std::uint32_t& length);

// The little-endian unsigned value of 4 bytes.
std::uint32_t convertBytesToDecimal(const std::uint8_t bytes[4]);

// Looks for `keyword` in the first `n` bytes of `block`, both compared in
// lower case. At the first match `flag` is set from the second character
// after the keyword (the first is the zero byte that ends it): "f" 0, "t" 1,
// anything else -2. No match, or a match whose flag character would lie
// beyond the block: -1.
void findCommandFlag(std::string_view keyword, const std::uint8_t* block, std::size_t n,
                     std::int32_t& flag);
