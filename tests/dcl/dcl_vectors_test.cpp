// Hand-worked streams, each built field by field from the format description
// and checked bit by bit against the library's decoder and encoder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dcl/dcl.h"
#include "tests/dcl/reference_codec.h"
#include "tests/support/case_name.h"

namespace {

using dcl::Result;
using dcltest::BitPacker;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Codes as sent, derived by hand from the code lengths: canonical codes,
// inverted, most significant bit first.
const char* const kLen2 = "101";       // length symbol 1
const char* const kLen3 = "11";        // length symbol 0
const char* const kLen10or11 = "00100";  // symbol 8, 1 extra bit
const char* const kLen136to263 = "0000001";  // symbol 14, 7 extra bits
const char* const kLen264to519 = "0000000";  // symbol 15, 8 extra bits
const char* const kDist0 = "11";        // distance symbol 0
const char* const kDist1 = "1011";      // distance symbol 1
const char* const kDist63 = "00000000";  // distance symbol 63

BitPacker& literal(BitPacker& p, std::uint8_t byte) { return p.raw(0, 1).raw(byte, 8); }
BitPacker& end(BitPacker& p) { return p.raw(1, 1).code(kLen264to519).raw(255, 8); }

struct VectorCase {
  std::string name;
  Bytes stream;
  Result result;
  Bytes out;
};

Bytes emptyBinary4k() { return {0x00, 0x06, 0x01, 0xFF}; }

// The example of the public format description (with its corrected
// distance): literals 'A' and 'I', then a match of 11 at distance 2.
Bytes publicExample() { return {0x00, 0x04, 0x82, 0x24, 0x25, 0x8f, 0x80, 0x7f}; }

// Flag 0, 'A' (0x41) in 8 bits, then the end code: 0 1000001 0 | 1 0000000
// | 0 1111111 | 1, packed from bit 0 of each byte: 82 02 FE 01.
Bytes oneLiteral() { return {0x00, 0x06, 0x82, 0x02, 0xFE, 0x01}; }

// ASCII literals: ' ' has the only 4-bit code, 'E', 'a', 'e' are the first
// three 5-bit codes, 0xFF is the last 13-bit code (all zeros).
Bytes asciiLiterals() {
  BitPacker p(1, 4);
  p.raw(0, 1).code("1111").raw(0, 1).code("11101").raw(0, 1).code("11100").raw(0, 1).code("11011");
  p.raw(0, 1).code("0000000000000");
  return end(p).bytes();
}

// "ab", then length 2 at distance 2: distance - 1 = 1 is symbol 0 and two
// low bits 01 (never the header's 6).
Bytes lengthTwo() {
  BitPacker p(0, 6);
  literal(p, 'a');
  literal(p, 'b');
  p.raw(1, 1).code(kLen2).code(kDist0).raw(1, 2);
  return end(p).bytes();
}

// 'x', then length 518 (264 + 254) at distance 1: one copy overlapping itself.
Bytes longestMatch() {
  BitPacker p(0, 6);
  literal(p, 'x');
  p.raw(1, 1).code(kLen264to519).raw(254, 8).code(kDist0).raw(0, 6);
  return end(p).bytes();
}

// 1,024 literals, then length 3 at distance 1,024 in a 1K dictionary:
// distance - 1 = 1023 = symbol 63 and the four low bits 1111.
Bytes farthest1k(Bytes& expected) {
  BitPacker p(0, 4);
  expected.clear();
  for (int i = 0; i < 1024; ++i) {
    const auto b = static_cast<std::uint8_t>(i * 7 + i / 256);
    literal(p, b);
    expected.push_back(b);
  }
  p.raw(1, 1).code(kLen3).code(kDist63).raw(15, 4);
  for (int i = 0; i < 3; ++i) expected.push_back(expected[static_cast<std::size_t>(i)]);
  return end(p).bytes();
}

// Length 11 (symbol 8 with extra bit 1) at distance 17 (distance - 1 = 16 is
// symbol 1 and low bits 0000 with 4 low bits), then length 263 (symbol 14,
// extra 127) at distance 1.
Bytes extraBits(Bytes& expected) {
  BitPacker p(0, 4);
  expected.clear();
  for (int i = 0; i < 17; ++i) {
    literal(p, static_cast<std::uint8_t>('a' + i));
    expected.push_back(static_cast<std::uint8_t>('a' + i));
  }
  p.raw(1, 1).code(kLen10or11).raw(1, 1).code(kDist1).raw(0, 4);
  for (int i = 0; i < 11; ++i) expected.push_back(expected[expected.size() - 17]);
  p.raw(1, 1).code(kLen136to263).raw(127, 7).code(kDist0).raw(0, 4);
  for (int i = 0; i < 263; ++i) expected.push_back(expected.back());
  return end(p).bytes();
}

Bytes matchAtStart() {
  BitPacker p(0, 6);
  p.raw(1, 1).code(kLen3).code(kDist0).raw(0, 6);
  return end(p).bytes();
}

// "abc", then distance 4: one byte before the start.
Bytes distanceOneTooFar() {
  BitPacker p(0, 6);
  for (char c : std::string("abc")) literal(p, static_cast<std::uint8_t>(c));
  p.raw(1, 1).code(kLen3).code(kDist0).raw(3, 6);
  return end(p).bytes();
}

std::vector<VectorCase> vectorCases() {
  Bytes far1k, extra;
  const Bytes far1kStream = farthest1k(far1k);
  const Bytes extraStream = extraBits(extra);
  return {
      {"EmptyBinary4K", emptyBinary4k(), Result::Ok, {}},
      {"PublicExample", publicExample(), Result::Ok, bytesOf("AIAIAIAIAIAIA")},
      {"OneLiteral", oneLiteral(), Result::Ok, bytesOf("A")},
      {"AsciiLiterals", asciiLiterals(), Result::Ok, {' ', 'E', 'a', 'e', 0xFF}},
      {"LengthTwoUsesTwoLowBits", lengthTwo(), Result::Ok, bytesOf("abab")},
      {"LongestMatchOverlaps", longestMatch(), Result::Ok, Bytes(519, 'x')},
      {"FarthestDistanceIn1K", far1kStream, Result::Ok, far1k},
      {"LengthExtraBits", extraStream, Result::Ok, extra},
      {"TrailingBytesIgnored", [] { Bytes b = oneLiteral(); b.push_back(0x55); return b; }(), Result::Ok,
       bytesOf("A")},
      // Errors: the code, and everything decodable before the fault.
      {"ErrorEmptyInput", {}, Result::BadData, {}},
      {"ErrorOneByte", {0x00}, Result::BadData, {}},
      {"ErrorHeaderOnly", {0x00, 0x06}, Result::Abort, {}},
      {"ErrorDictionaryByte3", {0x00, 0x03, 0x01, 0xFF}, Result::InvalidDictionarySize, {}},
      {"ErrorDictionaryByte7", {0x00, 0x07, 0x01, 0xFF}, Result::InvalidDictionarySize, {}},
      {"ErrorModeByte2", {0x02, 0x06, 0x01, 0xFF}, Result::InvalidMode, {}},
      {"ErrorBothBytesCheckDictionaryFirst", {0x02, 0x07, 0x01, 0xFF}, Result::InvalidDictionarySize, {}},
      {"ErrorInsideFirstLiteral", {0x00, 0x06, 0x82}, Result::Abort, {}},
      {"ErrorInsideEndCode", {0x00, 0x06, 0x82, 0x02, 0xFE}, Result::Abort, bytesOf("A")},
      {"ErrorMatchAtStart", matchAtStart(), Result::BadData, {}},
      {"ErrorDistanceOneTooFar", distanceOneTooFar(), Result::BadData, bytesOf("abc")},
  };
}

class DclVectors : public testing::TestWithParam<VectorCase> {};

TEST_P(DclVectors, ExplodesExactly) {
  const VectorCase& c = GetParam();
  Bytes out;
  EXPECT_EQ(dcl::explode(c.stream, out), c.result);
  EXPECT_EQ(out, c.out);
  // The test's own bit-serial decoder agrees, so the vectors say what the
  // format says rather than what the library does.
  const dcltest::Decoded ref = dcltest::referenceExplode(c.stream);
  EXPECT_EQ(ref.result, c.result);
  EXPECT_EQ(ref.out, c.out);
}

INSTANTIATE_TEST_SUITE_P(Dcl, DclVectors, testing::ValuesIn(vectorCases()), CaseName());

TEST(DclVectors, PackerReproducesTheRawVectors) {
  BitPacker empty(0, 6);
  EXPECT_EQ(end(empty).bytes(), emptyBinary4k());
  BitPacker one(0, 6);
  literal(one, 'A');
  EXPECT_EQ(end(one).bytes(), oneLiteral());
}

// Inputs without any possible match have exactly one encoding.
TEST(DclVectors, ImplodeWritesTheCanonicalShortStreams) {
  struct Case {
    Bytes data;
    dcl::ImplodeOptions options;
    Bytes stream;
  };
  const Case cases[] = {
      {{}, {}, emptyBinary4k()},
      {{}, {dcl::LiteralMode::Ascii, 4096}, {0x01, 0x06, 0x01, 0xFF}},
      {{}, {dcl::LiteralMode::Binary, 1024}, {0x00, 0x04, 0x01, 0xFF}},
      {{}, {dcl::LiteralMode::Binary, 2048, dcl::Level::Best}, {0x00, 0x05, 0x01, 0xFF}},
      {bytesOf("A"), {}, oneLiteral()},
      {bytesOf("A"), {dcl::LiteralMode::Binary, 4096, dcl::Level::Best}, oneLiteral()},
  };
  for (const Case& c : cases) {
    Bytes stream;
    ASSERT_EQ(dcl::implode(c.data, stream, c.options), Result::Ok);
    EXPECT_EQ(stream, c.stream);
  }
}

TEST(DclVectors, ImplodeRejectsBadOptions) {
  Bytes stream;
  EXPECT_EQ(dcl::implode(bytesOf("abc"), stream, {dcl::LiteralMode::Binary, 8192}), Result::InvalidDictionarySize);
  EXPECT_EQ(dcl::implode(bytesOf("abc"), stream, {static_cast<dcl::LiteralMode>(2), 4096}), Result::InvalidMode);
  EXPECT_EQ(dcl::implode(bytesOf("abc"), stream, {static_cast<dcl::LiteralMode>(2), 512}),
            Result::InvalidDictionarySize);
  EXPECT_TRUE(stream.empty());
}

}  // namespace
