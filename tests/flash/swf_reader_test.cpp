// The movie reader over hand-built plain movies, read from real files.
#include "flash/swf_reader.h"

#include <gtest/gtest.h>

#include "swf_test_movies.h"

using namespace swftest;

namespace {

class SwfReaderTest : public ::testing::Test {
 protected:
  InstallError read(const Bytes& bytes) { return readSWFFile_FWS_Format(folder_.file("movie.swf", bytes), movie_); }
  InstallError read(const Movie& m) { return read(build(m)); }

  ScratchFolder folder_;
  SwfMovieInfo movie_;
};

TEST_F(SwfReaderTest, FirstTagBackgroundIsReadAndNothingAfterIt) {
  // Version 6, 550 x 400, SetBackgroundColor FF 80 00, then a tag whose
  // length could not be skipped: the walk must stop at the background tag.
  const Bytes bytes = {'F', 'W', 'S', 6, 31, 0, 0, 0,
                       0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00,  // N=15 rectangle
                       0x00, 0x0C, 0x01, 0x00,                                // rate, count
                       0x43, 0x02, 0xFF, 0x80, 0x00,                          // SetBackgroundColor
                       0x3F, 0x03, 0xFF, 0xFF, 0xFF};                         // cut in its long length
  ASSERT_EQ(bytes.size(), 31u);
  EXPECT_EQ(read(bytes), err::Success);
  EXPECT_EQ(movie_.swfVersion, 6);
  EXPECT_EQ(movie_.movieWidth, 550);
  EXPECT_EQ(movie_.movieHeight, 400);
  EXPECT_EQ(movie_.backgroundRed, 255);
  EXPECT_EQ(movie_.backgroundGreen, 128);
  EXPECT_EQ(movie_.backgroundBlue, 0);
  EXPECT_EQ(movie_.allowScale, -1);
  EXPECT_EQ(movie_.fullScreen, -1);
}

TEST_F(SwfReaderTest, VersionLimits) {
  struct Case {
    std::uint8_t version;
    InstallError expected;
  };
  for (const Case c : {Case{2, err::MovieVersionTooOld}, Case{3, err::Success},
                       Case{8, err::Success}, Case{9, err::MovieVersionTooNew},
                       Case{0, err::MovieVersionTooOld}, Case{255, err::MovieVersionTooNew}}) {
    SCOPED_TRACE(int{c.version});
    Movie m;
    m.version = c.version;
    m.tags = background(1, 2, 3);
    append(m.tags, endTag());
    EXPECT_EQ(read(m), c.expected);
    EXPECT_EQ(movie_.swfVersion, c.version);
    // Nothing past the version is read when it is refused.
    EXPECT_EQ(movie_.backgroundRed, c.expected == err::Success ? 1 : 255);
  }
}

TEST_F(SwfReaderTest, SignatureOtherThanPlainIsRefused) {
  Movie m;
  m.tags = background(1, 2, 3);
  append(m.tags, endTag());
  for (const char* sig : {"CWS", "fws", "\0\0\0"}) {
    m.signature = std::string(sig, 3);
    EXPECT_EQ(read(m), err::MovieBadSignature);
    EXPECT_EQ(movie_.swfVersion, 0);
  }
}

TEST_F(SwfReaderTest, FrameRectangleSizes) {
  struct Case {
    const char* name;
    unsigned n;
    std::int32_t xMin, xMax, yMin, yMax;
    std::size_t bytes;
    std::int32_t width, height;
  };
  const Case cases[] = {
      {"N15", 15, 0, 550 * 20, 0, 400 * 20, 9, 550, 400},
      {"N0", 0, 0, 0, 0, 0, 1, 0, 0},
      {"N1NegativeOne", 1, 0, -1, 0, -1, 2, 0, 0},
      {"N16Offset", 16, 100, 32000, -200, 24000, 9, 1600, 1200},
      {"N14TruncatesTowardZero", 14, 0, 8191, -39, -8192, 8, 409, -409},
      {"N31Largest", 31, 0, 0x3FFFFFFF, 0, -0x40000000, 17, 53687091, -53687091},
      {"N2", 2, 1, 1, -2, -2, 2, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Movie m;
    m.rect = rectangle(c.n, c.xMin, c.xMax, c.yMin, c.yMax);
    ASSERT_EQ(m.rect.size(), c.bytes);
    // The background tag right after the rectangle is found only when the
    // rectangle's size was computed right.
    m.tags = background(9, 8, 7);
    append(m.tags, endTag());
    EXPECT_EQ(read(m), err::Success);
    EXPECT_EQ(movie_.movieWidth, c.width);
    EXPECT_EQ(movie_.movieHeight, c.height);
    EXPECT_EQ(movie_.backgroundRed, 9);
  }
}

TEST_F(SwfReaderTest, TagsBeforeTheBackgroundAreSkipped) {
  struct Case {
    const char* name;
    Bytes before;
  };
  Bytes longZero = {0x3F, 0x00};  // code 0, long form, length 0
  appendLe32(longZero, 0);
  const Case cases[] = {
      {"LongLength300", tag(2, noise(300), true)},
      {"ShortLength62", tag(2, noise(62))},
      {"LongFormOfSmallLength", tag(2, noise(5), true)},
      {"EndTagsDoNotStopTheWalk", [] { Bytes b = endTag(); append(b, endTag()); return b; }()},
      {"LongFormLengthZero", longZero},
      {"Several", [] { Bytes b = tag(4, noise(10)); append(b, tag(26, noise(70))); append(b, endTag()); return b; }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Movie m;
    m.tags = c.before;
    append(m.tags, background(0x12, 0x34, 0x56));
    append(m.tags, command("allowscale", "false"));
    EXPECT_EQ(read(m), err::Success);
    EXPECT_EQ(movie_.backgroundRed, 0x12);
    EXPECT_EQ(movie_.backgroundGreen, 0x34);
    EXPECT_EQ(movie_.backgroundBlue, 0x56);
    EXPECT_EQ(movie_.allowScale, 0);
  }
}

TEST_F(SwfReaderTest, CommandWindow) {
  struct Case {
    const char* name;
    Bytes after;  // what follows the background tag
    std::int32_t allowScale, fullScreen;
  };
  auto raw = [](const std::string& a, const std::string& b) {
    Bytes out = bytesOf(a);
    out.push_back(0);
    append(out, bytesOf(b));
    return out;
  };
  auto farAway = [&](const std::string& a, const std::string& b, std::size_t gap) {
    Bytes out = noise(gap);
    append(out, raw(a, b));
    return out;
  };
  const Case cases[] = {
      {"LowerCaseTrue", raw("allowscale", "true"), 1, -1},
      {"UpperCaseFalse", raw("ALLOWSCALE", "false"), 0, -1},
      {"FullScreenOne", raw("fullscreen", "1"), -1, -2},
      {"MixedCaseBoth", [&] { Bytes b = command("AllowScale", "TRUE"); append(b, command("FullScreen", "False")); return b; }(), 1, 0},
      {"None", noise(50), -1, -1},
      {"FirstMatchCounts", [&] { Bytes b = raw("allowscale", "xyz"); append(b, raw("allowscale", "true")); return b; }(), -2, -1},
      {"FlagIsTheLastByte", raw("allowscale", "t"), 1, -1},
      {"FlagBeyondTheEnd", raw("allowscale", ""), -1, -1},
      {"KeywordAtTheEnd", bytesOf("xxallowscale"), -1, -1},
      {"FlagLastInWindow", farAway("allowscale", "true", 2000 - 12), 1, -1},
      {"FlagJustPastWindow", farAway("allowscale", "true", 2000 - 11), -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Movie m;
    m.tags = background(0, 0, 0);
    append(m.tags, c.after);
    EXPECT_EQ(read(m), err::Success);
    EXPECT_EQ(movie_.allowScale, c.allowScale);
    EXPECT_EQ(movie_.fullScreen, c.fullScreen);
  }
}

TEST_F(SwfReaderTest, CommandWindowEndsAtTheHeaderFileLength) {
  Movie m;
  m.tags = background(0, 0, 0);
  append(m.tags, bytesOf("allowscale"));
  m.tags.push_back(0);
  append(m.tags, bytesOf("true"));
  // The header says the movie ends just before the flag character.
  m.fileLength = static_cast<std::int64_t>(build(m).size()) - 4;
  EXPECT_EQ(read(m), err::Success);
  EXPECT_EQ(movie_.allowScale, -1);
}

TEST_F(SwfReaderTest, MovieWithoutBackgroundKeepsDefaults) {
  Movie m;
  m.version = 7;
  m.tags = tag(2, noise(100));
  append(m.tags, command("allowscale", "false"));
  append(m.tags, endTag());
  movie_.backgroundRed = 1;
  movie_.allowScale = 0;
  EXPECT_EQ(read(m), err::Success);
  EXPECT_EQ(movie_.swfVersion, 7);
  EXPECT_EQ(movie_.movieWidth, 550);
  EXPECT_EQ(movie_.movieHeight, 400);
  EXPECT_EQ(movie_.backgroundRed, 255);
  EXPECT_EQ(movie_.backgroundGreen, 255);
  EXPECT_EQ(movie_.backgroundBlue, 255);
  EXPECT_EQ(movie_.allowScale, 1);
  EXPECT_EQ(movie_.fullScreen, 1);
}

TEST_F(SwfReaderTest, LongFormBackgroundTagIsReadAsSuch) {
  Movie m;
  m.tags = tag(9, {0xAA, 0xBB, 0xCC}, true);
  append(m.tags, command("fullscreen", "true"));
  EXPECT_EQ(read(m), err::Success);
  EXPECT_EQ(movie_.backgroundRed, 0xAA);
  EXPECT_EQ(movie_.backgroundGreen, 0xBB);
  EXPECT_EQ(movie_.backgroundBlue, 0xCC);
  EXPECT_EQ(movie_.fullScreen, 1);
}

TEST_F(SwfReaderTest, DamagedMoviesGiveCodes) {
  struct Case {
    const char* name;
    Bytes bytes;
    InstallError expected;
  };
  auto movieWith = [](Bytes tags, std::int64_t fileLength = -1) {
    Movie m;
    m.tags = std::move(tags);
    m.fileLength = fileLength;
    return build(m);
  };
  auto cut = [](Bytes b, std::size_t n) {
    b.resize(n);
    return b;
  };
  Bytes hugeLong = {0x3F, 0x00};
  appendLe32(hugeLong, 0x80000000u);
  Bytes maxLong = {0x3F, 0x00};
  appendLe32(maxLong, 0x7FFFFFFFu);
  Bytes bgTail = background(1, 2, 3);
  bgTail.push_back(0);
  const Bytes complete = movieWith(bgTail);
  const Case cases[] = {
      {"Empty", {}, err::MovieReadBeyondEnd},
      {"SignatureOnly", bytesOf("FWS"), err::MovieReadBeyondEnd},
      {"CutInFileLength", cut(complete, 6), err::MovieReadBeyondEnd},
      {"CutInRectangle", cut(complete, 12), err::MovieReadBeyondEnd},
      {"CutInFrameCount", cut(complete, 19), err::MovieReadBeyondEnd},
      {"CutInTagHeader", movieWith({0x43}), err::MovieReadBeyondEnd},
      {"CutInLongLength", movieWith({0x3F, 0x00, 0x10}), err::MovieReadBeyondEnd},
      {"TagLongerThanFile", movieWith({0x0A, 0x00}), err::MovieReadBeyondEnd},
      {"LongTagLength2To31", movieWith(hugeLong), err::MovieTagTooLong},
      {"LongTagLengthAllOnes", movieWith({0x3F, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}), err::MovieTagTooLong},
      {"LongTagClaimsMoreThanFile", movieWith(maxLong), err::MovieReadBeyondEnd},
      {"BackgroundBodyTwoBytes", movieWith({0x42, 0x02, 1, 2, 0, 0}), err::MovieBackgroundTooShort},
      {"BackgroundBodyEmpty", movieWith({0x40, 0x02, 0, 0}), err::MovieBackgroundTooShort},
      {"BackgroundBodyPastEnd", movieWith({0x43, 0x02, 1, 2}), err::MovieReadBeyondEnd},
      {"BackgroundLastInFile", movieWith(background(1, 2, 3)), err::MovieCommandWindowEmpty},
      {"FileLengthBeforeBackground", movieWith(bgTail, 20), err::MovieCommandWindowEmpty},
      {"FileLengthPastEnd", movieWith(bgTail, 5000), err::MovieReadBeyondEnd},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(read(c.bytes), c.expected);
  }
}

TEST_F(SwfReaderTest, MissingFileResetsAndReadsNothing) {
  movie_.backgroundRed = 3;
  movie_.swfVersion = 7;
  movie_.fullScreen = 0;
  movie_.movieWidth = 99;
  EXPECT_EQ(readSWFFile_FWS_Format(folder_.path() + "absent.swf", movie_), err::Success);
  EXPECT_EQ(movie_.backgroundRed, 255);
  EXPECT_EQ(movie_.swfVersion, 0);
  EXPECT_EQ(movie_.fullScreen, 1);
  EXPECT_EQ(movie_.movieWidth, 99);
  // A folder is not a movie file either.
  EXPECT_EQ(readSWFFile_FWS_Format(folder_.path(), movie_), err::Success);
}

TEST_F(SwfReaderTest, FormatType) {
  struct Case {
    const char* name;
    Bytes bytes;
    InstallError expected;
    const char* signature;
  };
  const Case cases[] = {
      {"Plain", bytesOf("FWS\x06"), err::Success, "FWS"},
      {"Compressed", bytesOf("CWS\x06"), err::Success, "CWS"},
      {"ExactlyThree", bytesOf("CWS"), err::Success, "CWS"},
      {"ThreeZeroBytes", Bytes{0, 0, 0}, err::MovieBadSignature, nullptr},
      {"LowerCase", bytesOf("cws"), err::MovieBadSignature, "cws"},
      {"TooShort", bytesOf("FW"), err::MovieReadBeyondEnd, "old"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SwfMovieInfo movie;
    movie.swfSignature = "old";
    EXPECT_EQ(readSWFFileFormatType(folder_.file("t.swf", c.bytes), movie), c.expected);
    EXPECT_EQ(movie.swfSignature, c.signature ? std::string(c.signature) : std::string(3, '\0'));
  }
  SwfMovieInfo movie;
  movie.swfSignature = "old";
  EXPECT_EQ(readSWFFileFormatType(folder_.path() + "absent.swf", movie), err::Success);
  EXPECT_EQ(movie.swfSignature, "old");
}

TEST(SwfTagHeader, DecodesCodeAndLength) {
  struct Case {
    std::uint8_t lo, hi;
    bool background;
    std::uint32_t length;
  };
  for (const Case c : {Case{0x43, 0x02, true, 3}, Case{0x7F, 0x02, true, 63},
                       Case{0x40, 0x02, true, 0}, Case{0x3F, 0x03, false, 63},
                       Case{0x00, 0x00, false, 0}, Case{0x43, 0x82, false, 3},
                       Case{0x83, 0x02, false, 3}}) {
    SCOPED_TRACE(testing::Message() << std::hex << int{c.lo} << " " << int{c.hi});
    const std::uint8_t header[2] = {c.lo, c.hi};
    std::uint32_t length = 99;
    EXPECT_EQ(isBackgroundColorTag(header, length), c.background);
    EXPECT_EQ(length, c.length);
  }
}

TEST(SwfTagHeader, ConvertBytesToDecimalIsLittleEndian) {
  const std::uint8_t a[4] = {0x2C, 0x01, 0x00, 0x00};
  const std::uint8_t b[4] = {0x78, 0x56, 0x34, 0x12};
  const std::uint8_t c[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(convertBytesToDecimal(a), 300u);
  EXPECT_EQ(convertBytesToDecimal(b), 0x12345678u);
  EXPECT_EQ(convertBytesToDecimal(c), 0xFFFFFFFFu);
}

TEST(SwfCommandFlag, BoundsAndCharacters) {
  struct Case {
    const char* name;
    std::string block;
    std::size_t n;  // bytes of the block searched
    std::int32_t flag;
  };
  const std::string z(1, '\0');
  const Case cases[] = {
      {"AtStart", "allowscale" + z + "t", 12, 1},
      {"OneShort", "allowscale" + z + "t", 11, -1},
      {"EmptyBlock", "", 0, -1},
      {"False", "xALLOWSCALE" + z + "F", 13, 0},
      {"OtherCharacter", "allowscale" + z + "x", 12, -2},
      {"FirstCharacterAfterIsIgnored", "allowscale" + std::string("t") + "f", 12, 0},
      {"ZeroAsFlag", "allowscale" + z + z, 12, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::int32_t flag = 42;
    findCommandFlag("ALLOWSCALE", reinterpret_cast<const std::uint8_t*>(c.block.data()), c.n, flag);
    EXPECT_EQ(flag, c.flag);
  }
}

}  // namespace
