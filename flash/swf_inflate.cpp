#include "flash/swf_inflate.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

#include "flash/swf_file.h"
#include "flash/swf_format.h"
#include "system/logFile.h"

namespace {

// Owns the zlib state so that every way out frees it.
class Inflater {
 public:
  Inflater() { ok_ = inflateInit(&stream_) == Z_OK; }
  ~Inflater() {
    if (ok_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  bool ok() const { return ok_; }
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

InstallError copyBlocks(SwfByteSource& from, SwfByteSink& to) {
  std::uint8_t block[swf::kCopyBlock];
  for (;;) {
    std::size_t got = 0;
    InstallError result = from.read(block, sizeof block, got);
    if (result != err::Success || got == 0) return result;
    result = to.write(block, got);
    if (result != err::Success) return result;
  }
}

// The 8-byte header is kept aside; the rest is copied as it is.
InstallError copyCompressedSegment(const std::string& swfFilename, const std::string& segmentPath,
                                   std::uint8_t header[swf::kHeaderSize]) {
  SwfFile source;
  InstallError result = source.openRead(swfFilename);
  if (result == err::Success) result = source.readExact(header, swf::kHeaderSize);
  if (result != err::Success) return result;
  SwfFile segment;
  result = segment.create(segmentPath);
  if (result == err::Success) result = copyBlocks(source, segment);
  const InstallError closed = segment.close();
  return result != err::Success ? result : closed;
}

InstallError expandSegment(const std::string& segmentPath, const std::string& plainPath,
                           const std::uint8_t header[swf::kHeaderSize]) {
  SwfFile segment;
  InstallError result = segment.openRead(segmentPath);
  if (result != err::Success) return result;
  SwfFile plain;
  result = plain.create(plainPath);
  if (result == err::Success) result = plain.write(swf::kPlainSignature, swf::kSignatureSize);
  if (result == err::Success) {
    result = plain.write(header + swf::kSignatureSize, swf::kHeaderSize - swf::kSignatureSize);
  }
  if (result == err::Success) result = inflateSWFStream(segment, plain);
  const InstallError closed = plain.close();
  return result != err::Success ? result : closed;
}

}  // namespace

InstallError inflateSWFStream(SwfByteSource& compressed, SwfByteSink& plain) {
  Inflater inflater;
  if (!inflater.ok()) return err::MovieInflateError;
  z_stream& zs = inflater.stream();
  std::uint8_t in[swf::kCopyBlock];
  std::uint8_t out[swf::kCopyBlock];
  bool inputDone = false;
  for (;;) {
    if (zs.avail_in == 0 && !inputDone) {
      std::size_t got = 0;
      const InstallError result = compressed.read(in, sizeof in, got);
      if (result != err::Success) return result;
      inputDone = got == 0;
      zs.next_in = in;
      zs.avail_in = static_cast<uInt>(got);
    }
    const uInt inBefore = zs.avail_in;
    zs.next_out = out;
    zs.avail_out = sizeof out;
    const int z = inflate(&zs, Z_NO_FLUSH);
    if (z != Z_OK && z != Z_STREAM_END && z != Z_BUF_ERROR) return err::MovieInflateError;
    const std::size_t produced = sizeof out - zs.avail_out;
    if (produced > 0) {
      const InstallError result = plain.write(out, produced);
      if (result != err::Success) return result;
    }
    if (z == Z_STREAM_END) return err::Success;
    if (produced == 0 && zs.avail_in == inBefore) {
      // No progress: at the end of the input the stream was cut short.
      if (inputDone) return err::Success;
      if (inBefore > 0) return err::MovieInflateError;
    }
  }
}

InstallError inflateSWFFileIntoFolder(const std::string& swfFilename, const std::string& folder) {
  logFile("inflateSWFFileToTempFile", swfFilename.c_str());
  if (!SwfFile::exists(swfFilename)) return err::Success;
  const std::string segmentPath = folder + swf::kCompressedSegmentName;
  std::uint8_t header[swf::kHeaderSize];
  const InstallError result = copyCompressedSegment(swfFilename, segmentPath, header);
  if (result != err::Success) return result;
  return expandSegment(segmentPath, folder + swf::kUncompressedName, header);
}
