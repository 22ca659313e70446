// Every mode, dictionary size and level on inputs shaped to reach the
// format's limits. Each stream is checked by the test's own bit-serial
// decoder as well as the library's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "dcl/dcl.h"
#include "dcl/dcl_tables.h"
#include "tests/dcl/reference_codec.h"
#include "tests/dcl/test_data.h"

namespace {

using dcl::Result;
using dcltest::Bytes;
using dcltest::NamedInput;

struct Mode {
  std::string name;
  dcl::ImplodeOptions options;
};

std::vector<Mode> modes() {
  std::vector<Mode> m;
  for (auto literal : {dcl::LiteralMode::Binary, dcl::LiteralMode::Ascii}) {
    for (unsigned size : {1024u, 2048u, 4096u}) {
      for (auto level : {dcl::Level::Default, dcl::Level::Best}) {
        m.push_back({std::string(literal == dcl::LiteralMode::Binary ? "Binary" : "Ascii") + std::to_string(size / 1024) +
                         "K" + (level == dcl::Level::Best ? "Best" : ""),
                     {literal, size, level}});
      }
    }
  }
  return m;
}

class DclRoundTrip : public testing::TestWithParam<std::tuple<NamedInput, Mode>> {};

TEST_P(DclRoundTrip, ExpandsToTheInput) {
  const auto& [input, mode] = GetParam();
  Bytes stream;
  ASSERT_EQ(dcl::implode(input.data, stream, mode.options), Result::Ok);
  ASSERT_GE(stream.size(), 4u);
  EXPECT_EQ(stream[0], static_cast<std::uint8_t>(mode.options.literalMode));
  EXPECT_EQ(1u << (stream[1] + 6), mode.options.dictionarySize);

  const dcltest::Decoded ref = dcltest::referenceExplode(stream);
  EXPECT_EQ(ref.result, Result::Ok);
  EXPECT_TRUE(ref.out == input.data) << "the reference decoder disagrees";

  Bytes out;
  EXPECT_EQ(dcl::explode(stream, out), Result::Ok);
  EXPECT_TRUE(out == input.data);
  const dcltest::Decoded narrow = dcltest::narrowExplode(stream);
  EXPECT_EQ(narrow.result, Result::Ok);
  EXPECT_TRUE(narrow.out == input.data) << "32-bit bit buffer";
}

INSTANTIATE_TEST_SUITE_P(Dcl, DclRoundTrip, testing::Combine(testing::ValuesIn(dcltest::roundTripInputs()),
                                                             testing::ValuesIn(modes())),
                         [](const testing::TestParamInfo<std::tuple<NamedInput, Mode>>& param) {
                           return std::get<0>(param.param).name + "_" + std::get<1>(param.param).name;
                         });

// The cheapest coding of `data` under the fixed codes, by brute force: every
// earlier position is tried for every match length.
std::size_t optimalStreamSize(const Bytes& data, bool ascii, unsigned dictBits) {
  using namespace dcl::detail;
  const std::size_t n = data.size();
  const std::size_t window = std::size_t{1} << (dictBits + 6);
  std::vector<std::uint64_t> bits(n + 1, ~std::uint64_t{0});
  bits[0] = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned literal = ascii ? kLiteralEncode[data[i]].length : 9u;
    bits[i + 1] = std::min(bits[i + 1], bits[i] + literal);
    std::vector<unsigned> nearest(kMaxMatch + 1, 0);  // nearest distance per length
    unsigned longest = 0;
    for (std::size_t distance = 1; distance <= std::min(i, window); ++distance) {
      unsigned length = 0;
      while (length < kMaxMatch && i + length < n && data[i + length - distance] == data[i + length]) ++length;
      for (unsigned l = longest + 1; l <= length; ++l) nearest[l] = static_cast<unsigned>(distance);
      longest = std::max(longest, length);
    }
    for (unsigned l = 2; l <= longest; ++l) {
      if (l == 2 && nearest[l] > 256) continue;
      const unsigned low = l == 2 ? 2 : dictBits;
      const unsigned cost = kLengthEncode[l].length + kDistanceCodes[(nearest[l] - 1) >> low].length + low;
      bits[i + l] = std::min(bits[i + l], bits[i] + cost);
    }
  }
  return static_cast<std::size_t>((16 + bits[n] + kLengthEncode[kEndLength].length + 7) / 8);
}

// The best level is the shortest path over the fixed code costs: its streams
// are as short as the brute force finds.
TEST(DclBestLevel, IsOptimalForTheFixedCodes) {
  const NamedInput inputs[] = {{"Text", dcltest::text(3000, 11)},
                               {"Records", dcltest::records(3000)},
                               {"FarRepeats", dcltest::farRepeats(6000, 12)}};
  for (const NamedInput& input : inputs) {
    for (auto [literal, size] : {std::pair{dcl::LiteralMode::Binary, 4096u}, std::pair{dcl::LiteralMode::Ascii, 1024u}}) {
      Bytes stream;
      ASSERT_EQ(dcl::implode(input.data, stream, {literal, size, dcl::Level::Best}), Result::Ok);
      EXPECT_EQ(stream.size(), optimalStreamSize(input.data, literal == dcl::LiteralMode::Ascii, stream[1]))
          << input.name;
    }
  }
}

// A reader that hands out at most `chunk` bytes per call.
dcl::Reader chunkedReader(const Bytes& data, std::size_t chunk, std::size_t& offset) {
  return [&data, chunk, &offset](std::span<std::uint8_t> buffer) {
    const std::size_t n = std::min({chunk, buffer.size(), data.size() - offset});
    std::memcpy(buffer.data(), data.data() + offset, n);
    offset += n;
    return n;
  };
}

dcl::Writer collect(Bytes& out) {
  return [&out](std::span<const std::uint8_t> block) {
    out.insert(out.end(), block.begin(), block.end());
    return true;
  };
}

TEST(DclStreaming, ChunkSizesDoNotChangeTheResult) {
  const Bytes data = dcltest::farRepeats(60000, 9);
  for (auto options : {dcl::ImplodeOptions{}, dcl::ImplodeOptions{dcl::LiteralMode::Ascii, 2048, dcl::Level::Best}}) {
    Bytes whole;
    ASSERT_EQ(dcl::implode(data, whole, options), Result::Ok);
    for (std::size_t chunk : {1u, 7u, 3000u}) {
      std::size_t offset = 0;
      Bytes stream, out;
      ASSERT_EQ(dcl::implode(chunkedReader(data, chunk, offset), collect(stream), options), Result::Ok);
      EXPECT_TRUE(stream == whole) << "chunk " << chunk;
      offset = 0;
      ASSERT_EQ(dcl::explode(chunkedReader(stream, chunk, offset), collect(out)), Result::Ok);
      EXPECT_TRUE(out == data) << "chunk " << chunk;
    }
  }
}

TEST(DclStreaming, WriterRefusalAbortsAtOnce) {
  const Bytes data = dcltest::randomBytes(50000, 4);
  Bytes stream;
  ASSERT_EQ(dcl::implode(data, stream), Result::Ok);
  for (auto level : {dcl::Level::Default, dcl::Level::Best}) {
    int calls = 0;
    auto refuse = [&calls](std::span<const std::uint8_t>) {
      ++calls;
      return false;
    };
    std::size_t offset = 0;
    EXPECT_EQ(dcl::implode(chunkedReader(data, 4096, offset), refuse, {dcl::LiteralMode::Binary, 4096, level}),
              Result::Abort);
    EXPECT_EQ(calls, 1);
  }
  int calls = 0;
  std::size_t offset = 0;
  EXPECT_EQ(dcl::explode(chunkedReader(stream, 4096, offset), [&calls](std::span<const std::uint8_t>) {
              ++calls;
              return false;
            }),
            Result::Abort);
  EXPECT_EQ(calls, 1);
}

// The output buffer slides every few kilobytes; matches that reach across a
// slide must still find their bytes.
TEST(DclStreaming, ExplodeBlocksCoverTheWholeOutput) {
  const Bytes data = dcltest::farRepeats(300000, 5);
  Bytes stream;
  ASSERT_EQ(dcl::implode(data, stream), Result::Ok);
  std::size_t blocks = 0;
  Bytes out;
  std::size_t offset = 0;
  ASSERT_EQ(dcl::explode(chunkedReader(stream, 2048, offset),
                         [&](std::span<const std::uint8_t> block) {
                           ++blocks;
                           EXPECT_FALSE(block.empty());
                           out.insert(out.end(), block.begin(), block.end());
                           return true;
                         }),
            Result::Ok);
  EXPECT_TRUE(out == data);
  EXPECT_GT(blocks, 10u);
}

}  // namespace
