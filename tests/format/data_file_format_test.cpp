// The data-file records against hand-laid bytes, and the containment rule
// for entry names.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "package/data_file_format.h"
#include "tests/support/case_name.h"

namespace {

TEST(DataFileFormat, SettingsFieldsAreLittleEndianAtTheirOffsets) {
  SaverSettings s;
  s.bytes[212] = 0x02;
  s.bytes[213] = 0x01;
  s.bytes[1204] = 3;
  EXPECT_EQ(entryCountOf(s), 0x0102);
  EXPECT_EQ(mainMovieModeOf(s), 3);
  setEntryCount(s, -5);
  EXPECT_EQ(s.bytes[212], 0xFB);
  EXPECT_EQ(s.bytes[215], 0xFF);
  EXPECT_EQ(entryCountOf(s), -5);
}

TEST(DataFileFormat, EntryAndChunkRoundTripEveryByte) {
  std::array<std::uint8_t, kDataFileEntrySize> e{};
  for (std::size_t i = 0; i < e.size(); ++i) e[i] = static_cast<std::uint8_t>(i * 13 + 1);
  std::array<std::uint8_t, kDataFileEntrySize> eOut{};
  encodeDataFileEntry(decodeDataFileEntry(e), eOut);
  EXPECT_EQ(eOut, e);

  std::array<std::uint8_t, kChunkHeaderSize> c{};
  std::memcpy(c.data(), "CHUN", 4);
  c[8] = 0x10;   // expanded size 16
  c[12] = 0x08;  // stored size 8
  c[16] = 1;
  const ChunkHeader chunk = decodeChunkHeader(c);
  EXPECT_EQ(chunk.expandedSize, 16);
  EXPECT_EQ(chunk.storedSize, 8);
  EXPECT_EQ(chunk.compressed, 1);
  std::array<std::uint8_t, kChunkHeaderSize> cOut{};
  encodeChunkHeader(chunk, cOut);
  EXPECT_EQ(cOut, c);
}

TEST(DataFileFormat, EntryOffsetsMatchTheLayout) {
  std::array<std::uint8_t, kDataFileEntrySize> e{};
  e[0] = 3;
  std::memcpy(e.data() + 2, "sub\\a.swf", 9);
  e[260] = 0x44;
  e[261] = 0x33;
  const DataFileEntry d = decodeDataFileEntry(e);
  EXPECT_EQ(d.type, kAliasEntryType);
  EXPECT_EQ(dataEntryNameOf(d), "sub\\a.swf");
  EXPECT_EQ(d.chunkOffset, 0x3344);
}

TEST(DataFileFormat, NameWithoutTerminatorEndsAtTheFieldsEnd) {
  DataFileEntry d;
  std::memset(d.name, 'q', sizeof d.name);
  EXPECT_EQ(dataEntryNameOf(d), std::string(256, 'q'));
  EXPECT_TRUE(setDataEntryName(d, std::string(255, 'n')));
  EXPECT_FALSE(setDataEntryName(d, std::string(256, 'n')));
}

struct NameCase {
  const char* name;
  const char* entry;
  bool contained;
};

class ContainedNames : public testing::TestWithParam<NameCase> {};

TEST_P(ContainedNames, Classify) { EXPECT_EQ(isContainedRelativeName(GetParam().entry), GetParam().contained); }

const NameCase kNames[] = {
    {"Plain", "movie.swf", true},
    {"SubFolder", "sub\\deeper\\a.txt", true},
    {"ForwardSlashes", "sub/a.txt", true},
    {"DotComponent", ".\\a.txt", true},
    {"DotsInsideName", "a..b.txt", true},
    {"Empty", "", false},
    {"Rooted", "\\WINDOWS\\win.ini", false},
    {"RootedForward", "/etc/x", false},
    {"Unc", "\\\\server\\share\\x", false},
    {"Drive", "C:\\x.txt", false},
    {"DriveRelative", "C:x.txt", false},
    {"StreamName", "a.txt:evil", false},
    {"ParentAtStart", "..\\x.txt", false},
    {"ParentInside", "sub\\..\\..\\x.txt", false},
    {"ParentAtEnd", "sub\\..", false},
    {"ParentForward", "sub/../../x", false},
    {"ParentWithTrailingDot", "...\\x", false},
    {"ParentWithTrailingBlank", ".. \\x", false},
};

INSTANTIATE_TEST_SUITE_P(Names, ContainedNames, testing::ValuesIn(kNames), CaseName());

}  // namespace
