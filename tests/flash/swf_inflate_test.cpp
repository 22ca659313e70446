// Expanding compressed movies made with zlib's compress into plain copies.
#include "flash/swf_inflate.h"

#include <gtest/gtest.h>

#include "flash/swf_format.h"
#include "flash/swf_reader.h"
#include "swf_test_movies.h"

using namespace swftest;

namespace {

Bytes plainMovie(std::size_t filler, std::uint8_t version = 7) {
  Movie m;
  m.version = version;
  m.tags = tag(2, noise(filler), true);
  append(m.tags, background(0x10, 0x20, 0x30));
  append(m.tags, command("allowscale", "false"));
  append(m.tags, command("fullscreen", "true"));
  append(m.tags, endTag());
  return build(m);
}

class SwfInflateTest : public ::testing::Test {
 protected:
  std::string segmentPath() const { return folder_.path() + swf::kCompressedSegmentName; }
  std::string plainPath() const { return folder_.path() + swf::kUncompressedName; }
  InstallError inflate(const Bytes& cws, const char* name = "movie.swf") {
    return inflateSWFFileIntoFolder(folder_.file(name, cws), folder_.path());
  }

  ScratchFolder folder_;
};

TEST_F(SwfInflateTest, CompleteStreamGivesThePlainMovie) {
  const Bytes plain = plainMovie(10000);
  const Bytes cws = compressMovie(plain);
  ASSERT_EQ(inflate(cws), err::Success);
  EXPECT_EQ(readFile(segmentPath()), Bytes(cws.begin() + 8, cws.end()));
  const Bytes copy = readFile(plainPath());
  EXPECT_EQ(copy, plain);
  EXPECT_EQ(copy.size(), convertBytesToDecimal(&cws[4]));
  SwfMovieInfo movie;
  EXPECT_EQ(readSWFFile_FWS_Format(plainPath(), movie), err::Success);
  EXPECT_EQ(movie.swfVersion, 7);
  EXPECT_EQ(movie.movieWidth, 550);
  EXPECT_EQ(movie.backgroundBlue, 0x30);
  EXPECT_EQ(movie.allowScale, 0);
  EXPECT_EQ(movie.fullScreen, 1);
}

TEST_F(SwfInflateTest, VersionAndLengthAreCopiedAsTheyStand) {
  Bytes plain = plainMovie(100, 9);
  plain[4] = 0x44;  // a file length the copy does not have
  ASSERT_EQ(inflate(compressMovie(plain)), err::Success);
  const Bytes copy = readFile(plainPath());
  EXPECT_EQ(Bytes(copy.begin(), copy.begin() + 8), Bytes(plain.begin(), plain.begin() + 8));
  SwfMovieInfo movie;
  EXPECT_EQ(readSWFFile_FWS_Format(plainPath(), movie), err::MovieVersionTooNew);
  EXPECT_EQ(movie.swfVersion, 9);
}

TEST_F(SwfInflateTest, StreamCutShortEndsTheCopyThere) {
  const Bytes plain = plainMovie(20000);
  Bytes cws = compressMovie(plain);
  cws.resize(cws.size() / 2);
  ASSERT_EQ(inflate(cws), err::Success);
  const Bytes copy = readFile(plainPath());
  ASSERT_GT(copy.size(), 8u);
  ASSERT_LT(copy.size(), plain.size());
  EXPECT_TRUE(std::equal(copy.begin(), copy.end(), plain.begin()));
  // The background lies beyond what is left.
  SwfMovieInfo movie;
  EXPECT_EQ(readSWFFile_FWS_Format(plainPath(), movie), err::MovieReadBeyondEnd);
}

TEST_F(SwfInflateTest, CutShortAfterTheBackgroundMayStillBeRead) {
  Movie m;
  m.tags = background(1, 2, 3);
  append(m.tags, command("allowscale", "true"));
  append(m.tags, tag(2, noise(30000), true));
  const Bytes plain = build(m);
  Bytes cws = compressMovie(plain);
  cws.resize(cws.size() - 100);
  ASSERT_EQ(inflate(cws), err::Success);
  SwfMovieInfo movie;
  EXPECT_EQ(readSWFFile_FWS_Format(plainPath(), movie), err::Success);
  EXPECT_EQ(movie.backgroundGreen, 2);
  EXPECT_EQ(movie.allowScale, 1);
}

TEST_F(SwfInflateTest, DataAfterTheStreamIsIgnored) {
  const Bytes plain = plainMovie(3000);
  Bytes cws = compressMovie(plain);
  append(cws, noise(5000, 7));
  ASSERT_EQ(inflate(cws), err::Success);
  EXPECT_EQ(readFile(plainPath()), plain);
}

TEST_F(SwfInflateTest, BadInputGivesCodes) {
  struct Case {
    const char* name;
    Bytes bytes;
    InstallError expected;
  };
  const Bytes good = compressMovie(plainMovie(500));
  Bytes corrupt = good;
  for (std::size_t i = 20; i < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
  Bytes badHeader = good;
  badHeader[8] = 0x77;  // not a zlib stream header
  Bytes badCheck = good;
  badCheck.back() ^= 0xFF;  // Adler-32 at the end
  const Case cases[] = {
      {"ShorterThanHeader", bytesOf("CWS\x06\x10"), err::MovieReadBeyondEnd},
      {"NotZlib", badHeader, err::MovieInflateError},
      {"CorruptData", corrupt, err::MovieInflateError},
      {"BadChecksum", badCheck, err::MovieInflateError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(inflate(c.bytes), c.expected);
  }
}

TEST_F(SwfInflateTest, HeaderOnlyGivesAHeaderOnlyCopy) {
  ASSERT_EQ(inflate({'C', 'W', 'S', 8, 0x10, 0, 0, 0}), err::Success);
  EXPECT_EQ(readFile(plainPath()), (Bytes{'F', 'W', 'S', 8, 0x10, 0, 0, 0}));
  EXPECT_TRUE(readFile(segmentPath()).empty());
}

TEST_F(SwfInflateTest, SecondMovieOverwritesTheCopies) {
  const Bytes first = plainMovie(40000);
  const Bytes second = plainMovie(50, 5);
  ASSERT_EQ(inflate(compressMovie(first), "first.swf"), err::Success);
  const Bytes cws = compressMovie(second);
  ASSERT_EQ(inflate(cws, "second.swf"), err::Success);
  EXPECT_EQ(readFile(plainPath()), second);
  EXPECT_EQ(readFile(segmentPath()), Bytes(cws.begin() + 8, cws.end()));
}

TEST_F(SwfInflateTest, MissingMovieWritesNothing) {
  EXPECT_EQ(inflateSWFFileIntoFolder(folder_.path() + "absent.swf", folder_.path()), err::Success);
  EXPECT_FALSE(std::filesystem::exists(plainPath()));
}

TEST_F(SwfInflateTest, UnwritableFolderGivesTheSystemCode) {
  const InstallError result =
      inflateSWFFileIntoFolder(folder_.file("m.swf", compressMovie(plainMovie(10))),
                               folder_.path() + "no-such-folder" + folder_.path().back());
  EXPECT_GT(result, 0);
}

TEST(SwfInflateStream, MemoryToMemory) {
  const Bytes plain = noise(100000, 3);
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  Bytes packed(size);
  ASSERT_EQ(compress(packed.data(), &size, plain.data(), static_cast<uLong>(plain.size())), Z_OK);
  packed.resize(size);
  SwfMemorySource source(packed.data(), packed.size());
  SwfMemorySink sink;
  EXPECT_EQ(inflateSWFStream(source, sink), err::Success);
  EXPECT_EQ(sink.bytes(), plain);
}

}  // namespace
