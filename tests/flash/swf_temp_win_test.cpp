// The movie panel's temporary folder for expanded copies, under Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include "flash/swf_format.h"
#include "flash/swf_inflate.h"
#include "flash/swf_reader.h"
#include "swf_test_movies.h"
#include "system/VLM_FileUtils.h"

using namespace swftest;

namespace {

Bytes plainMovie(std::uint8_t version, std::uint8_t red) {
  Movie m;
  m.version = version;
  m.tags = background(red, 0, 0);
  append(m.tags, command("allowscale", "true"));
  append(m.tags, endTag());
  return build(m);
}

class SwfTempFolderTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (!inflateFolder_.empty()) removeFolderTree(inflateFolder_);
  }
  ScratchFolder movies_;
  std::string inflateFolder_;
};

TEST_F(SwfTempFolderTest, FolderIsMadeOnceAndReused) {
  const std::string first = movies_.file("first.swf", compressMovie(plainMovie(6, 0x11)));
  ASSERT_EQ(inflateSWFFileToTempFile(first, inflateFolder_), err::Success);
  ASSERT_FALSE(inflateFolder_.empty());
  EXPECT_EQ(inflateFolder_.back(), '\\');
  const std::string made = inflateFolder_;
  EXPECT_NE(made.find(swf::kInflateFolderPrefix), std::string::npos);
  SwfMovieInfo movie;
  ASSERT_EQ(readSWFFile_FWS_Format(inflateFolder_ + swf::kUncompressedName, movie), err::Success);
  EXPECT_EQ(movie.backgroundRed, 0x11);

  const std::string second = movies_.file("second.swf", compressMovie(plainMovie(8, 0x22)));
  ASSERT_EQ(inflateSWFFileToTempFile(second, inflateFolder_), err::Success);
  EXPECT_EQ(inflateFolder_, made);
  ASSERT_EQ(readSWFFile_FWS_Format(inflateFolder_ + swf::kUncompressedName, movie), err::Success);
  EXPECT_EQ(movie.swfVersion, 8);
  EXPECT_EQ(movie.backgroundRed, 0x22);
}

TEST_F(SwfTempFolderTest, MissingMovieStillMakesTheFolder) {
  ASSERT_EQ(inflateSWFFileToTempFile(movies_.path() + "absent.swf", inflateFolder_), err::Success);
  ASSERT_FALSE(inflateFolder_.empty());
  EXPECT_NE(GetFileAttributesA(inflateFolder_.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((inflateFolder_ + swf::kUncompressedName).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SwfTempFolderTest, MovieOpenForWritingElsewhereGivesTheSystemCode) {
  // The reader denies others write access, so it cannot share a writer.
  const std::string path = movies_.file("shared.swf", plainMovie(6, 0x33));
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  SwfMovieInfo movie;
  EXPECT_EQ(readSWFFile_FWS_Format(path, movie), static_cast<InstallError>(ERROR_SHARING_VIOLATION));
  CloseHandle(writer);
  EXPECT_EQ(readSWFFile_FWS_Format(path, movie), err::Success);
  EXPECT_EQ(movie.backgroundRed, 0x33);
}

}  // namespace
