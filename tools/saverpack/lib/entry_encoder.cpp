#include "tools/saverpack/lib/entry_encoder.h"

#include <array>
#include <exception>
#include <fstream>
#include <vector>

#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/output_file.h"
#include "tools/saverpack/lib/progress.h"

namespace {

constexpr std::size_t kBlock = 1 << 16;
constexpr std::uint64_t kGiveUpAfter = 1 << 20;

class InputFile {
 public:
  explicit InputFile(const std::filesystem::path& path) : path_(path), in_(path, std::ios::binary) {
    std::error_code ec;
    size_ = std::filesystem::file_size(path, ec);
    if (!in_ || ec) throw ToolError(path.string() + ": cannot open for reading");
  }
  std::uint64_t size() const { return size_; }

  // Reads the next block, adding it to the CRC; 0 at the end.
  std::size_t read(std::span<std::uint8_t> out) {
    in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    const auto n = static_cast<std::size_t>(in_.gcount());
    if (n == 0 && !in_.eof()) throw ToolError(path_.string() + ": read failed");
    crc_ = dcl::crc32Update(crc_, out.first(n));
    read_ += n;
    return n;
  }

  void rewind() {
    in_.clear();
    in_.seekg(0);
    if (!in_) throw ToolError(path_.string() + ": cannot seek");
    crc_ = kCrcStart;
    read_ = 0;
  }

  // The file must have been read whole, at the length it had when opened.
  std::uint32_t finish() const {
    if (read_ != size_) throw ToolError(path_.string() + ": changed while it was being read");
    return crc32Of(crc_);
  }

 private:
  std::filesystem::path path_;
  std::ifstream in_;
  std::uint64_t size_ = 0;
  std::uint64_t read_ = 0;
  std::uint32_t crc_ = kCrcStart;
};

dcl::ImplodeOptions optionsFor(const Compression& how, InputFile& in) {
  dcl::ImplodeOptions o;
  o.dictionarySize = how.dictionarySize;
  o.level = how.level;
  o.literalMode = how.method == Method::Ascii ? dcl::LiteralMode::Ascii : dcl::LiteralMode::Binary;
  if (how.method == Method::Auto) {
    std::array<std::uint8_t, 4096> head{};
    const std::size_t n = in.read(head);
    if (looksLikeText(head.data(), n)) o.literalMode = dcl::LiteralMode::Ascii;
    in.rewind();
  }
  return o;
}

enum class ImplodeOutcome { Done, NotSmaller };

ImplodeOutcome implodeInto(OutputFile& out, InputFile& in, const dcl::ImplodeOptions& options,
                           std::uint64_t limit, Progress* progress, std::uint64_t& written) {
  std::uint64_t readCount = 0;
  bool overLimit = false;
  written = 0;
  // The library may be built without unwind tables: nothing may be thrown
  // through it, so a failure is held here and raised once it has returned.
  std::exception_ptr failure;
  const auto reader = [&](std::span<std::uint8_t> buffer) -> std::size_t {
    try {
      const std::size_t n = in.read(buffer);
      readCount += n;
      advance(progress, n);
      return n;
    } catch (...) {
      failure = std::current_exception();
      return 0;
    }
  };
  const auto writer = [&](std::span<const std::uint8_t> block) {
    if (failure) return false;
    written += block.size();
    // Data that has not shrunk over its first MiB is taken for data that
    // does not compress (already compressed, or noise): stopping there
    // spares imploding the rest only to throw it away.
    const bool growing = limit != UINT64_MAX && readCount >= kGiveUpAfter && written >= readCount;
    if (written >= limit || growing) {
      overLimit = true;
      return false;
    }
    try {
      out.write(block);
      return true;
    } catch (...) {
      failure = std::current_exception();
      return false;
    }
  };
  const dcl::Result r = dcl::implode(reader, writer, options);
  if (failure) std::rethrow_exception(failure);
  if (overLimit) {
    if (progress) progress->retract(readCount);
    return ImplodeOutcome::NotSmaller;
  }
  if (r != dcl::Result::Ok) throw ToolError("implode failed with code " + std::to_string(static_cast<unsigned>(r)));
  return ImplodeOutcome::Done;
}

void copyStored(OutputFile& out, InputFile& in, Progress* progress) {
  std::vector<std::uint8_t> block(kBlock);
  for (;;) {
    const std::size_t n = in.read(block);
    if (n == 0) break;
    out.write(std::span(block).first(n));
    advance(progress, n);
  }
}

}  // namespace

std::uint32_t crc32Of(std::uint32_t running) { return ~running; }

EncodedEntry encodeFile(OutputFile& out, const std::filesystem::path& input, const Compression& how,
                        const EncodeRules& rules, Progress* progress) {
  InputFile in(input);
  const std::uint64_t start = out.position();
  EncodedEntry e;
  e.expandedSize = in.size();

  const bool empty = in.size() == 0;
  // Nothing to shrink in an empty file: it is stored, unless it must be a stream.
  const bool implode = !rules.forceStored && (empty ? rules.emptyNeedsStream : how.method != Method::Stored);
  if (implode) {
    // Auto only keeps the stream when it is smaller than the file (an empty
    // file that must be a stream has no such limit).
    const std::uint64_t limit =
        how.method == Method::Auto && !empty ? in.size() : UINT64_MAX;
    const dcl::ImplodeOptions options = optionsFor(how, in);
    std::uint64_t written = 0;
    if (implodeInto(out, in, options, limit, progress, written) == ImplodeOutcome::Done) {
      e.crc = in.finish();
      e.storedSize = written;
      e.compressed = true;
      return e;
    }
    in.rewind();
    out.seek(start);
  }
  copyStored(out, in, progress);
  e.crc = in.finish();
  e.storedSize = in.size();
  return e;
}
