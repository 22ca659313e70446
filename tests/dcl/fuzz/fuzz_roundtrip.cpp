// Implode then explode in every mode: the first byte picks the literal mode
// (bit 0), the dictionary size (bits 1-2: 1K, 2K, 4K) and the level (bit 3);
// the rest is the data. The stream must expand to the data, in the library
// and in the test's bit-serial decoder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dcl/dcl.h"
#include "tests/dcl/reference_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t mode = data[0];
  dcl::ImplodeOptions options;
  options.literalMode = (mode & 1) != 0 ? dcl::LiteralMode::Ascii : dcl::LiteralMode::Binary;
  const unsigned sizes[] = {1024, 2048, 4096, 4096};
  options.dictionarySize = sizes[(mode >> 1) & 3];
  options.level = (mode & 8) != 0 ? dcl::Level::Best : dcl::Level::Default;
  const std::span<const std::uint8_t> input(data + 1, size - 1);

  std::vector<std::uint8_t> stream, out;
  if (dcl::implode(input, stream, options) != dcl::Result::Ok) std::abort();
  if (dcl::explode(stream, out) != dcl::Result::Ok) std::abort();
  if (!std::equal(out.begin(), out.end(), input.begin(), input.end())) std::abort();
  const dcltest::Decoded ref = dcltest::referenceExplode(stream);
  if (ref.result != dcl::Result::Ok || ref.out != out) std::abort();
  return 0;
}
