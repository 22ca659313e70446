#pragma once
// Our implode/explode library for the PKWARE DCL stream format, as used by
// the package builder, the tools and the tests. (The installer reaches the
// same code through impborl.dll; see dcl/dcl_c.h for that calling
// convention.)
//
// A stream is two header bytes (literal mode, dictionary size) and a bit
// stream of literals and matches ending with an end code. explode() expands
// any valid stream; implode() writes streams that any standard decoder
// expands.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace dcl {

// The library's result codes; the numbers are those of the DLL functions.
enum class Result : unsigned {
  Ok = 0,
  InvalidDictionarySize = 1,  // implode: not 1024/2048/4096; explode: header byte not 4..6
  InvalidMode = 2,            // implode: not binary/ASCII; explode: header byte not 0/1
  BadData = 3,                // explode: shorter than the header, or a distance before the first byte
  Abort = 4,                  // explode: the input ended before the end code; either: a writer refused
};

enum class LiteralMode : std::uint8_t { Binary = 0, Ascii = 1 };

enum class Level : std::uint8_t {
  Default,  // hash chains with lazy matching, within the 36,312-byte work area
  Best,     // optimal parsing over the fixed code costs; allocates about 1 MB
};

struct ImplodeOptions {
  LiteralMode literalMode = LiteralMode::Binary;
  unsigned dictionarySize = 4096;  // 1024, 2048 or 4096
  Level level = Level::Default;
};

// Work areas of the DLL functions (all their state lives there).
inline constexpr std::size_t kExplodeWorkSize = 12596;
inline constexpr std::size_t kImplodeWorkSize = 36312;

// Streaming: the reader fills up to buffer.size() bytes and returns how many
// it gave, 0 at the end of the input; the writer takes one block and returns
// false to stop the run (the call then returns Result::Abort).
using Reader = std::function<std::size_t(std::span<std::uint8_t> buffer)>;
using Writer = std::function<bool(std::span<const std::uint8_t> block)>;

// Expands one stream. Everything decodable is written even when the result
// is an error. Bytes after the end code are ignored (the reader is asked for
// blocks, so some of them may have been read).
Result explode(const Reader& read, const Writer& write);
Result explode(std::span<const std::uint8_t> stream, std::vector<std::uint8_t>& out);

Result implode(const Reader& read, const Writer& write, const ImplodeOptions& options = {});
Result implode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out,
               const ImplodeOptions& options = {});

// The standard CRC-32 (reflected polynomial 0xEDB88320) without pre- or
// post-conditioning: start with 0xFFFFFFFF and complement the final value.
std::uint32_t crc32Update(std::uint32_t crc, std::span<const std::uint8_t> data);

}  // namespace dcl
