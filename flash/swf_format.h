#pragma once
// The SWF movie layout as this reader knows it; shared by the reader, the
// builder's movie report and the tests.
//
//   offset  size  field
//   0       3     signature: "FWS" plain, "CWS" zlib-compressed after byte 8
//   3       1     version (accepted 3 to 8)
//   4       4     file length of the plain movie, little-endian
//   8       var   frame rectangle: 5 bits N, then Xmin Xmax Ymin Ymax of N
//                 signed bits each (twips), from the top bit of byte 8 on,
//                 padded to whole bytes: (4N + 5) / 8 + 1 bytes
//   ...     2     frame rate (skipped)
//   ...     2     frame count (skipped)
//   ...           tags: 16-bit little-endian header, code = value >> 6,
//                 length = value & 63; length 63 means a 32-bit
//                 little-endian length follows. Code 9 is SetBackgroundColor,
//                 whose body starts with red, green, blue.
//
// In a "CWS" file everything after byte 8 is one zlib stream that expands to
// the plain movie from its byte 8 on.
#include <cstddef>
#include <cstdint>

namespace swf {
inline constexpr char kPlainSignature[] = "FWS";
inline constexpr char kCompressedSignature[] = "CWS";
inline constexpr std::size_t kSignatureSize = 3;
inline constexpr std::size_t kHeaderSize = 8;

inline constexpr std::uint8_t kMinVersion = 3;
inline constexpr std::uint8_t kMaxVersion = 8;

inline constexpr unsigned kRectangleCountBits = 5;
// N is at most 31, so the rectangle is at most (4 * 31 + 5) / 8 + 1 bytes.
inline constexpr std::size_t kMaxRectangleSize = 17;
inline constexpr std::int32_t kTwipsPerPixel = 20;
inline constexpr std::size_t kFrameRateAndCountSize = 4;

inline constexpr std::size_t kTagHeaderSize = 2;
inline constexpr std::uint32_t kLongTagLength = 63;
inline constexpr std::size_t kLongLengthSize = 4;
inline constexpr std::uint16_t kSetBackgroundColor = 9;
inline constexpr std::uint32_t kBackgroundBodyMin = 3;

// How far past the background tag the movie's commands are looked for.
inline constexpr std::size_t kCommandWindow = 2000;
inline constexpr char kAllowScaleCommand[] = "ALLOWSCALE";
inline constexpr char kFullScreenCommand[] = "fullScreen";

// Block size of the copy and of the expansion of a compressed movie.
inline constexpr std::size_t kCopyBlock = 2048;

inline constexpr char kInflateFolderPrefix[] = "FlashPanel";
inline constexpr char kCompressedSegmentName[] = "compressedSWFSegment.swf";
inline constexpr char kUncompressedName[] = "unCompressedSWF.swf";
}  // namespace swf
