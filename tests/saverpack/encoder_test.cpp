// How one file is stored and read back: every method and dictionary size
// round-trips through the decoder with the right CRC; "auto" stores what
// does not shrink; an empty package entry becomes a stream; a failed build
// leaves nothing behind.
#include <gtest/gtest.h>
#include <zlib.h>

#include "package/package_format.h"
#include "tests/saverpack/test_support.h"
#include "tests/support/case_name.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/entry_decoder.h"
#include "tools/saverpack/lib/entry_encoder.h"
#include "tools/saverpack/lib/manifest.h"
#include "tools/saverpack/lib/output_file.h"

namespace {

using sptest::Bytes;

Bytes text(std::size_t n) {
  const std::string line = "The harbour lights flicker over the water; boats rock at their moorings.\r\n";
  Bytes b;
  while (b.size() < n) b.insert(b.end(), line.begin(), line.end());
  b.resize(n);
  return b;
}

Bytes mixed() {
  Bytes b = text(150000);
  const Bytes n = sptest::noise(60000, 5);
  b.insert(b.begin() + 70000, n.begin(), n.end());
  return b;
}

// Binary first (a header, say), text after.
Bytes binaryThenText() {
  Bytes b = sptest::noise(3000, 6);
  const Bytes t = text(100000);
  b.insert(b.end(), t.begin(), t.end());
  return b;
}

struct EncodeCase {
  std::string name;
  Bytes content;
  Method method;
  unsigned dictionary;
  bool compressed;  // as written
  int literalMode;  // the stream's first byte when compressed
};

void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

const EncodeCase kCases[] = {
    {"AutoTextIsAsciiImploded", text(20000), Method::Auto, 4096, true, 1},
    {"AutoNoiseIsStored", sptest::noise(20000, 1), Method::Auto, 4096, false, 0},
    {"AutoLargeNoiseIsStoredEarly", sptest::noise(3 << 20, 7), Method::Auto, 4096, false, 0},
    {"AutoBinaryHeadIsBinaryImploded", binaryThenText(), Method::Auto, 4096, true, 0},
    {"StoredText", text(5000), Method::Stored, 4096, false, 0},
    {"BinaryNoiseStaysImploded", sptest::noise(5000, 2), Method::Binary, 4096, true, 0},
    {"BinaryDictionary1024", mixed(), Method::Binary, 1024, true, 0},
    {"AsciiDictionary2048", mixed(), Method::Ascii, 2048, true, 1},
    {"OneByte", Bytes{42}, Method::Binary, 4096, true, 0},
};

class Encode : public testing::TestWithParam<EncodeCase> {};

TEST_P(Encode, RoundTripsWithItsCrc) {
  const EncodeCase& c = GetParam();
  sptest::ScratchDir dir;
  sptest::writeFile(dir / "in", c.content);
  EncodedEntry e;
  {
    OutputFile out(dir / "out");
    out.write(Bytes(7, 0xEE));  // entries start wherever the output is
    e = encodeFile(out, dir / "in", {c.method, c.dictionary}, {}, nullptr);
    out.commit(out.position());
  }
  const Bytes written = sptest::readFile(dir / "out");
  ASSERT_EQ(written.size(), 7 + e.storedSize);
  EXPECT_EQ(e.compressed, c.compressed);
  EXPECT_EQ(e.expandedSize, c.content.size());
  EXPECT_EQ(e.crc, static_cast<std::uint32_t>(crc32(0L, c.content.data(), static_cast<uInt>(c.content.size()))));
  if (c.compressed) {
    EXPECT_EQ(written[7], c.literalMode);
    EXPECT_EQ(64u << written[8], c.dictionary);
  }
  Bytes back;
  const ExpandedSink sink = [&](std::span<const std::uint8_t> b) { back.insert(back.end(), b.begin(), b.end()); };
  FileSource src(dir / "out");
  const ReadOutcome r = readEntry(src, {7, e.storedSize, e.compressed}, e.expandedSize, &sink, nullptr);
  EXPECT_EQ(r.result, dcl::Result::Ok);
  EXPECT_EQ(back, c.content);
  EXPECT_EQ(r.crc, e.crc);
}

INSTANTIATE_TEST_SUITE_P(Encode, Encode, testing::ValuesIn(kCases), CaseName());

TEST(Encode, EmptyFileIsAStreamInAPackageAndNothingInADataFile) {
  sptest::ScratchDir dir;
  sptest::writeFile(dir / "empty", {});
  OutputFile out(dir / "out");
  const EncodedEntry entry = encodeFile(out, dir / "empty", {}, {.emptyNeedsStream = true}, nullptr);
  EXPECT_TRUE(entry.compressed);
  EXPECT_GT(entry.storedSize, 0u) << "a package entry's end cannot precede its start";
  EXPECT_EQ(entry.expandedSize, 0u);
  const EncodedEntry chunk = encodeFile(out, dir / "empty", {}, {}, nullptr);
  EXPECT_FALSE(chunk.compressed);
  EXPECT_EQ(chunk.storedSize, 0u);
  const EncodedEntry library = encodeFile(out, dir / "empty", {Method::Binary}, {.forceStored = true}, nullptr);
  EXPECT_FALSE(library.compressed);
}

// Nothing of a failed build stays: no output, no temporary file.
TEST(Build, FailureLeavesNothingBehind) {
  sptest::ScratchDir dir;
  BuildTools tools = sptest::makeFakeTools(dir.path());
  Diagnostics problems;
  const auto manifest = sptest::examplesDir() / "quiet/harbour-quiet.toml";
  auto plan = readManifest(manifest, problems);
  ASSERT_TRUE(plan);
  const auto folder = dir / "out";
  std::filesystem::create_directories(folder);

  sptest::writeFile(dir / "short-stub.exe", Bytes(1000, 0));
  EXPECT_THROW(buildPackage(*plan, {dir / "short-stub.exe", tools.compressor}, folder / "a.exe", problems), ToolError);

  plan->slots[Slot::Support2]->path = dir / "vanished.dll";  // gone since the manifest was read
  EXPECT_THROW(buildPackage(*plan, tools, folder / "a.exe", problems), ToolError);
  EXPECT_TRUE(std::filesystem::is_empty(folder));

  // An existing installer stays as it was.
  sptest::writeFile(folder / "a.exe", Bytes{1, 2, 3});
  EXPECT_THROW(buildPackage(*plan, tools, folder / "a.exe", problems), ToolError);
  EXPECT_EQ(sptest::readFile(folder / "a.exe"), (Bytes{1, 2, 3}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

}  // namespace
