// Damaged streams of every kind end with a result code, never a crash, and
// the library writes exactly what the test's bit-serial decoder writes: all
// that is decodable before the fault.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "dcl/dcl.h"
#include "tests/dcl/reference_codec.h"
#include "tests/dcl/test_data.h"

namespace {

using dcl::Result;
using dcltest::Bytes;

// The library's result and output, through the span API, with the 32-bit
// bit buffer, and through a reader that gives one byte per call (the careful
// path throughout).
void expectSameAsReference(const Bytes& stream, const std::string& what) {
  const dcltest::Decoded ref = dcltest::referenceExplode(stream);
  Bytes out;
  EXPECT_EQ(dcl::explode(stream, out), ref.result) << what;
  EXPECT_TRUE(out == ref.out) << what << ": " << out.size() << " bytes, reference " << ref.out.size();
  const dcltest::Decoded narrow = dcltest::narrowExplode(stream);
  EXPECT_EQ(narrow.result, ref.result) << what << " (32-bit)";
  EXPECT_TRUE(narrow.out == ref.out) << what << " (32-bit)";

  std::size_t offset = 0;
  Bytes slow;
  const Result r = dcl::explode(
      [&](std::span<std::uint8_t> buffer) -> std::size_t {
        if (offset == stream.size() || buffer.empty()) return 0;
        buffer[0] = stream[offset++];
        return 1;
      },
      [&](std::span<const std::uint8_t> block) {
        slow.insert(slow.end(), block.begin(), block.end());
        return true;
      });
  EXPECT_EQ(r, ref.result) << what << " (byte by byte)";
  EXPECT_TRUE(slow == ref.out) << what << " (byte by byte)";
}

Bytes implodeOf(const Bytes& data, dcl::ImplodeOptions options) {
  Bytes stream;
  EXPECT_EQ(dcl::implode(data, stream, options), Result::Ok);
  return stream;
}

std::vector<Bytes> sampleStreams() {
  return {
      implodeOf(dcltest::text(3000, 1), {dcl::LiteralMode::Ascii, 2048}),
      implodeOf(dcltest::farRepeats(6000, 2), {dcl::LiteralMode::Binary, 4096}),
      implodeOf(dcltest::runs(), {dcl::LiteralMode::Binary, 1024, dcl::Level::Best}),
  };
}

TEST(DclMalformed, TruncationAtEveryOffset) {
  for (const Bytes& stream : sampleStreams()) {
    Bytes full;
    ASSERT_EQ(dcl::explode(stream, full), Result::Ok);
    for (std::size_t cut = 0; cut < stream.size(); ++cut) {
      const Bytes prefix(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
      Bytes out;
      const Result r = dcl::explode(prefix, out);
      EXPECT_EQ(r, cut < 2 ? Result::BadData : Result::Abort) << "cut at " << cut;
      ASSERT_LE(out.size(), full.size());
      EXPECT_TRUE(std::equal(out.begin(), out.end(), full.begin())) << "cut at " << cut;
      if (cut % 7 == 0 || cut + 3 >= stream.size()) expectSameAsReference(prefix, "cut at " + std::to_string(cut));
    }
  }
}

TEST(DclMalformed, EveryBitFlipped) {
  const Bytes streams[] = {
      implodeOf(dcltest::text(400, 3), {dcl::LiteralMode::Ascii, 4096}),
      implodeOf(dcltest::records(600), {dcl::LiteralMode::Binary, 1024}),
  };
  for (const Bytes& stream : streams) {
    for (std::size_t bit = 0; bit < stream.size() * 8; ++bit) {
      Bytes flipped = stream;
      flipped[bit / 8] = static_cast<std::uint8_t>(flipped[bit / 8] ^ (1u << (bit % 8)));
      expectSameAsReference(flipped, "bit " + std::to_string(bit));
    }
  }
}

// The header says another mode or dictionary size than the stream was
// written with: the bits are read the other way, with the same care.
TEST(DclMalformed, LyingHeaderBytes) {
  for (const Bytes& stream : sampleStreams()) {
    for (unsigned mode : {0u, 1u, 2u, 0xFFu}) {
      for (unsigned dict : {0u, 3u, 4u, 5u, 6u, 7u}) {
        Bytes lying = stream;
        lying[0] = static_cast<std::uint8_t>(mode);
        lying[1] = static_cast<std::uint8_t>(dict);
        expectSameAsReference(lying, "header " + std::to_string(mode) + " " + std::to_string(dict));
      }
    }
  }
}

TEST(DclMalformed, RandomBytes) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 1500; ++i) {
    Bytes stream = dcltest::randomBytes(rng() % 400, static_cast<unsigned>(rng()));
    if (stream.size() >= 2 && i % 4 != 0) {  // mostly valid headers, so the body is read
      stream[0] = static_cast<std::uint8_t>(rng() % 2);
      stream[1] = static_cast<std::uint8_t>(4 + rng() % 3);
    }
    expectSameAsReference(stream, "random stream " + std::to_string(i));
  }
}

}  // namespace
