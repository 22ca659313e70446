// The package records against hand-laid bytes: offsets, little-endian
// fields, counted and terminated names, and the kind-to-folder rules.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "package/package_format.h"
#include "tests/support/case_name.h"

namespace {

using Block = std::array<std::uint8_t, kPackageDirectorySize>;

void putI32(Block& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

std::size_t slotAt(int slot) { return 72 + 280 * static_cast<std::size_t>(slot); }

// The example package of the format description: "MOVARI", picture mode,
// carries the player installer, offers the control panel.
Block exampleBlock() {
  Block b{};
  const std::uint8_t head[] = {0x01, 0x00, 0x00, 0x01, 0x00, 0x01};
  std::memcpy(b.data(), head, sizeof head);
  std::memcpy(b.data() + 6, "MOVARI", 6);
  const std::size_t s1 = slotAt(1);
  b[s1] = 11;
  std::memcpy(b.data() + s1 + 1, "impborl.datXYZ", 14);  // leftover bytes after the count
  putI32(b, s1 + 256, 678480);
  putI32(b, s1 + 260, 678480 + 12288 - 1);
  putI32(b, s1 + 264, 4);
  b[s1 + 268] = 0;
  putI32(b, s1 + 272, 0x12345678);
  putI32(b, s1 + 276, 12288);
  return b;
}

TEST(PackageFormat, DecodesFieldsAtTheirOffsets) {
  const Block b = exampleBlock();
  const PackageDirectory dir = decodePackageDirectory(b);
  EXPECT_EQ(dir.header.installMode, InstallMode::Bitmap);
  EXPECT_EQ(dir.header.showLicense, 0);
  EXPECT_EQ(dir.header.hasReadMe, 0);
  EXPECT_EQ(dir.header.carriesFlashInstaller, 1);
  EXPECT_EQ(dir.header.flashVersionIndex, 0);
  EXPECT_EQ(dir.header.offerDisplayPanel, 1);
  EXPECT_EQ(saverNameOf(dir.header), "MOVARI");

  const PackageEntry& lib = dir.entries[Slot::Compressor];
  EXPECT_EQ(entryNameOf(lib), "impborl.dat");  // counted, leftover ignored
  EXPECT_EQ(lib.start, 678480);
  EXPECT_EQ(storedLength(lib), 12288);
  EXPECT_EQ(lib.kind, EntryKind::TempRenamed);
  EXPECT_EQ(lib.compressed, 0);
  EXPECT_EQ(lib.reserved, 0x12345678);
  EXPECT_EQ(lib.size, 12288);
  EXPECT_TRUE(isEmptySlot(dir.entries[Slot::License]));
}

TEST(PackageFormat, EncodeIsTheExactInverseOfDecode) {
  Block b = exampleBlock();
  // Fill every byte, reserved and padding included, so nothing can be dropped.
  for (std::size_t i = slotAt(9); i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
  b[70] = 0xAA;
  b[71] = 0x55;
  Block out{};
  encodePackageDirectory(decodePackageDirectory(b), out);
  EXPECT_EQ(out, b);
}

TEST(PackageFormat, SaverNameOfSixtyFourCharactersHasNoTerminator) {
  Block b{};
  const std::string name(64, 'N');
  std::memcpy(b.data() + 6, name.data(), 64);
  b[70] = 'X';  // the reserved bytes right after are not part of the name
  EXPECT_EQ(saverNameOf(decodePackageDirectory(b).header), name);

  PackageHeader h;
  EXPECT_TRUE(setSaverName(h, name));
  EXPECT_EQ(saverNameOf(h), name);
  EXPECT_FALSE(setSaverName(h, name + "Z"));
  EXPECT_TRUE(setSaverName(h, "A\0B"));  // stops at the first zero
  EXPECT_EQ(saverNameOf(h), "A");
}

TEST(PackageFormat, EntryNamesAreCountedUpTo255) {
  PackageEntry e;
  setEntryName(e, std::string(300, 'x'));
  EXPECT_EQ(e.nameLength, 255);
  EXPECT_EQ(entryNameOf(e), std::string(255, 'x'));
  setEntryName(e, "a.scr");
  EXPECT_EQ(entryNameOf(e), "a.scr");
  EXPECT_EQ(e.name[5], 0);  // shorter names do not keep the old tail
}

TEST(PackageFormat, StoredLengthDoesNotOverflow) {
  PackageEntry e;
  e.start = -2147483647 - 1;
  e.end = 2147483647;
  EXPECT_EQ(storedLength(e), 4294967296LL);
  e.start = 10;
  e.end = 5;
  EXPECT_EQ(storedLength(e), -4);
}

struct TargetCase {
  const char* name;
  std::int32_t kind;
  std::string stored;
  TargetFolder folder;
  std::string written;
};

class EntryTargets : public testing::TestWithParam<TargetCase> {};

TEST_P(EntryTargets, FollowTheKindRules) {
  const EntryTarget t = entryTarget(GetParam().kind, GetParam().stored);
  EXPECT_EQ(t.folder, GetParam().folder);
  if (t.folder != TargetFolder::None) {
    EXPECT_EQ(t.name, GetParam().written);
  }
}

const TargetCase kTargets[] = {
    {"Kind1Install", 1, "a.txt", TargetFolder::Install, "a.txt"},
    {"Kind5Install", 5, "saver1.dll", TargetFolder::Install, "saver1.dll"},
    {"Kind6Install", 6, "install.exe", TargetFolder::Install, "install.exe"},
    {"Kind10Install", 10, "x", TargetFolder::Install, "x"},
    {"Kind2System", 2, "MOVARI.scr", TargetFolder::System, "MOVARI.scr"},
    {"Kind3PlayerInstallerToTemp", 3, "flashax7.exe", TargetFolder::Temp, "flashax7.exe"},
    {"Kind3MsiToTemp", 3, "install_flash_player_active_x.msi", TargetFolder::Temp,
     "install_flash_player_active_x.msi"},
    {"Kind3OtherExeBecomesDll", 3, "helper.exe", TargetFolder::System, "helper.dll"},
    {"Kind3CaseSensitive", 3, "FlashAX7.exe", TargetFolder::System, "FlashAX7.dll"},
    {"Kind3NoExtension", 3, "helper", TargetFolder::System, "helper.dll"},
    {"Kind3LastDotOnly", 3, "a.b.ocx", TargetFolder::System, "a.b.dll"},
    {"Kind4CompressorRenamed", 4, "impborl.dat", TargetFolder::Temp, "impborl.dll"},
    {"Kind4CaseSensitive", 4, "IMPBORL.DAT", TargetFolder::Temp, "IMPBORL.DAT"},
    {"Kind4Other", 4, "MOVARI.ssd", TargetFolder::Temp, "MOVARI.ssd"},
    {"Kind7Temp", 7, "installer.bmp", TargetFolder::Temp, "installer.bmp"},
    {"Kind0None", 0, "x", TargetFolder::None, ""},
    {"Kind8None", 8, "x", TargetFolder::None, ""},
    {"Kind9None", 9, "x", TargetFolder::None, ""},
    {"Kind11None", 11, "x", TargetFolder::None, ""},
    {"NegativeNone", -1, "x", TargetFolder::None, ""},
};

INSTANTIATE_TEST_SUITE_P(Kinds, EntryTargets, testing::ValuesIn(kTargets), CaseName());

TEST(FileExtensions, ChangeAndExtractLikeThePlatform) {
  EXPECT_EQ(changeFileExt("installer.bmp", ".jpg"), "installer.jpg");
  EXPECT_EQ(changeFileExt("picture", ".BMP"), "picture.BMP");
  EXPECT_EQ(changeFileExt("dir.x\\picture", ".BMP"), "dir.x\\picture.BMP");
  EXPECT_EQ(changeFileExt("a.", ".dll"), "a.dll");
  EXPECT_EQ(extractFileExt("Saver.SCR"), ".SCR");
  EXPECT_EQ(extractFileExt("noext"), "");
  EXPECT_EQ(extractFileExt("dir.d\\noext"), "");
}

}  // namespace
