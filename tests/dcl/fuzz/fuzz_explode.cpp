// Arbitrary bytes as a stream: the library must end with a result code, and
// it must write exactly what the test's bit-serial decoder writes, with the
// host's 64-bit bit buffer and with the DLL's 32-bit one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dcl/dcl.h"
#include "tests/dcl/reference_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> stream(data, size);
  std::vector<std::uint8_t> out;
  const dcl::Result result = dcl::explode(stream, out);
  const dcltest::Decoded ref = dcltest::referenceExplode(stream);
  if (result != ref.result || out != ref.out) std::abort();
  const dcltest::Decoded narrow = dcltest::narrowExplode(stream);  // the DLL's 32-bit bit buffer
  if (narrow.result != ref.result || narrow.out != ref.out) std::abort();
  return 0;
}
