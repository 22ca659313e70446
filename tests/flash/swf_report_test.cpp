// What `saverpack movie` prints, through the reader itself.
#include "flash/swf_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "swf_test_movies.h"

using namespace swftest;

namespace {

Bytes sampleMovie(std::uint8_t version) {
  Movie m;
  m.version = version;
  m.tags = background(0xFF, 0x80, 0x00);
  append(m.tags, command("allowscale", "false"));
  append(m.tags, endTag());
  return build(m);
}

std::string runCommand(const std::string& path, bool json, int& status) {
  std::FILE* out = std::tmpfile();
  status = runMovieCommand(path, json, out);
  std::rewind(out);
  std::string text;
  char buf[512];
  std::size_t got = 0;
  while ((got = std::fread(buf, 1, sizeof buf, out)) > 0) text.append(buf, got);
  std::fclose(out);
  return text;
}

TEST(SwfReport, TextNamesEveryField) {
  ScratchFolder folder;
  int status = -1;
  const std::string text = runCommand(folder.file("m.swf", sampleMovie(6)), false, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(text,
            "signature: FWS\n"
            "version: 6\n"
            "frame size: 550 x 400\n"
            "background: 255 128 0\n"
            "allowScale: 0\n"
            "fullScreen: -1\n"
            "result: 0 (Success)\n");
}

TEST(SwfReport, JsonForPlainCompressedAndRefusedMovies) {
  ScratchFolder folder;
  struct Case {
    const char* name;
    Bytes bytes;
    const char* json;
  };
  const Case cases[] = {
      {"Plain", sampleMovie(6),
       R"({"result":0,"signature":"FWS","version":6,"width":550,"height":400,)"
       R"("background":[255,128,0],"allowScale":0,"fullScreen":-1})"},
      {"Compressed", compressMovie(sampleMovie(8)),
       R"({"result":0,"signature":"CWS","version":8,"width":550,"height":400,)"
       R"("background":[255,128,0],"allowScale":0,"fullScreen":-1})"},
      {"TooNew", compressMovie(sampleMovie(9)),
       R"({"result":-405,"signature":"CWS","version":9,"width":0,"height":0,)"
       R"("background":[255,255,255],"allowScale":1,"fullScreen":1})"},
      {"NotAMovie", Bytes{'G', 'I', 'F', '8'},
       R"({"result":-404,"signature":"GIF","version":0,"width":0,"height":0,)"
       R"("background":[255,255,255],"allowScale":1,"fullScreen":1})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int status = -1;
    const std::string text = runCommand(folder.file(std::string(c.name) + ".swf", c.bytes), true, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(nlohmann::json::parse(text), nlohmann::json::parse(c.json));
  }
}

TEST(SwfReport, ResultNamesItsCode) {
  SwfMovieInfo movie;
  EXPECT_NE(movieReportText(movie, err::MovieVersionTooNew).find("result: -405 (MovieVersionTooNew)"),
            std::string::npos);
  EXPECT_NE(movieReportText(movie, err::MovieReadBeyondEnd).find("result: -1101 (MovieReadBeyondEnd)"),
            std::string::npos);
  EXPECT_NE(movieReportText(movie, 32).find("result: 32 (system error)"), std::string::npos);
}

TEST(SwfReport, SignatureBytesOfAnyKindStayPrintable) {
  SwfMovieInfo movie;
  movie.swfSignature = std::string("\xFF\x00\x41", 3);
  EXPECT_NE(movieReportText(movie, err::MovieBadSignature).find("signature: ..A\n"), std::string::npos);
  const auto parsed = nlohmann::json::parse(movieReportJson(movie, err::MovieBadSignature));
  EXPECT_EQ(parsed["signature"].get<std::string>().back(), 'A');
}

TEST(SwfReport, MissingFileIsAnError) {
  ScratchFolder folder;
  int status = -1;
  EXPECT_EQ(runCommand(folder.path() + "absent.swf", true, status), "");
  EXPECT_EQ(status, 1);
}

}  // namespace
