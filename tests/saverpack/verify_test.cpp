// verify's diagnoses of damaged installers and data files: each case spoils
// one thing in a good package and names the message it must give and where.
#include <gtest/gtest.h>

#include <functional>

#include "package/data_file_format.h"
#include "package/package_format.h"
#include "tests/saverpack/test_support.h"
#include "tests/support/case_name.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/data_file_builder.h"
#include "tools/saverpack/lib/manifest.h"
#include "tools/saverpack/lib/verifier.h"

namespace {

using sptest::Bytes;
using sptest::i32At;
using sptest::putI32At;

constexpr std::size_t kDirectory = 675328 + 72;

std::size_t slotAt(int slot) { return kDirectory + 280 * static_cast<std::size_t>(slot); }

// The picture example with its data file stored as slot 8, so that the data
// file's bytes can be spoilt in place.
class Packages {
 public:
  static Packages& get() {
    static Packages p;
    return p;
  }
  const Bytes& package() const { return package_; }
  std::size_t dataStart() const { return static_cast<std::size_t>(i32At(package_, slotAt(8) + 256)); }

 private:
  Packages() {
    const auto tools = sptest::makeFakeTools(dir_.path());
    Diagnostics problems;
    const auto data = readDataManifest(sptest::examplesDir() / "picture/night-harbour.toml", problems);
    buildDataFile(*data, dir_ / "night.ssd", problems, nullptr);
    const auto example = sptest::examplesDir() / "picture";
    sptest::writeText(dir_ / "m.toml", "name = \"Night Harbour\"\nmode = \"bitmap\"\n"
                                       "picture = \"" + (example / "installer.bmp").generic_string() + "\"\n"
                                       "license = \"" + (example / "license.txt").generic_string() + "\"\n"
                                       "module = \"" + (example / "../common/saver.scr").generic_string() + "\"\n"
                                       "saver-file = { path = \"" + (example / "../common/saver.scf").generic_string() +
                                           "\", compression = \"stored\" }\n"
                                       "support-files = [\"" + (example / "../common/saver1.dll").generic_string() +
                                           "\", \"" + (example / "../common/saver2.dll").generic_string() + "\"]\n"
                                       "data = { path = \"night.ssd\", compression = \"stored\" }\n");
    sptest::buildManifest(dir_ / "m.toml", dir_ / "out.exe", tools);
    package_ = sptest::readFile(dir_ / "out.exe");
  }
  sptest::ScratchDir dir_;
  Bytes package_;
};

struct SpoilCase {
  std::string name;
  std::function<void(Bytes&, std::size_t dataStart)> spoil;
  std::string where;    // part of the problem's place
  std::string message;  // part of its message
};

void PrintTo(const SpoilCase& c, std::ostream* os) { *os << c.name; }

void setI32(Bytes& b, std::size_t at, std::int32_t v) { putI32At(b, at, v); }

const SpoilCase kCases[] = {
    {"NoPackageAtAll", [](Bytes& b, std::size_t) { b.resize(4000); }, "out.exe", "holds no package"},
    {"CutInsideHeader", [](Bytes& b, std::size_t) { b.resize(675328 + 30); }, "out.exe",
     "ends inside the package header (30 of 3152 bytes present): the installer stops with -31"},
    {"CutInsideDirectory", [](Bytes& b, std::size_t) { b.resize(slotAt(4) + 10); }, "out.exe",
     "inside the slot directory, in slot 4's record"},
    {"CutInsideEntry", [](Bytes& b, std::size_t) { b.resize(static_cast<std::size_t>(i32At(b, slotAt(10) + 256)) + 5); },
     "slot 10 'saver2.dll'", "the file is cut inside this entry"},
    {"EntryOffsetBeyondFile",
     [](Bytes& b, std::size_t) {
       setI32(b, slotAt(7) + 256, static_cast<std::int32_t>(b.size()) + 100);
       setI32(b, slotAt(7) + 260, static_cast<std::int32_t>(b.size()) + 128);
     },
     "slot 7 'saver.scf'", "beyond the end of the file"},
    {"EndBeforeStart", [](Bytes& b, std::size_t) { setI32(b, slotAt(9) + 260, i32At(b, slotAt(9) + 256) - 2); },
     "slot 9 'saver1.dll'", "give no stored bytes: the installer stops with -7"},
    {"CompressedWrongLength", [](Bytes& b, std::size_t) { setI32(b, slotAt(3) + 276, i32At(b, slotAt(3) + 276) + 1); },
     "slot 3 'installer.bmp'", "expands to 18486 bytes, but its size is 18487: the installer stops with -13"},
    {"CompressedLongerThanSize", [](Bytes& b, std::size_t) { setI32(b, slotAt(3) + 276, 100); },
     "slot 3 'installer.bmp'", "expands to more than its size of 100 bytes"},
    {"CompressedWrongCrc", [](Bytes& b, std::size_t) { b[slotAt(3) + 272] ^= 1; }, "slot 3 'installer.bmp'",
     "the CRC-32 of its expanded bytes is"},
    {"CompressedStreamCut", [](Bytes& b, std::size_t) { setI32(b, slotAt(3) + 260, i32At(b, slotAt(3) + 256) + 20); },
     "slot 3 'installer.bmp'", "the implode stream is damaged: it ends before its end code"},
    {"CompressedHeaderSpoilt", [](Bytes& b, std::size_t) { b[static_cast<std::size_t>(i32At(b, slotAt(3) + 256)) + 1] = 9; },
     "slot 3 'installer.bmp'", "no valid dictionary size"},
    {"StoredByteFlipped", [](Bytes& b, std::size_t) { b[static_cast<std::size_t>(i32At(b, slotAt(7) + 256)) + 3] ^= 0x40; },
     "slot 7 'saver.scf'", "the content is damaged"},
    {"CompressorCompressed", [](Bytes& b, std::size_t) { b[slotAt(1) + 268] = 1; }, "slot 1 'impborl.dat'",
     "must be stored (the installer stops with -35)"},
    {"LicenceFlagWithoutLicence", [](Bytes& b, std::size_t) { b[slotAt(4)] = 0; }, "header showLicense",
     "the licence flag is set but slot 4 is empty"},
    {"SupportSlotEmpty", [](Bytes& b, std::size_t) { b[slotAt(9)] = 0; }, "slot 9",
     "slot 9 (the first support file) is empty"},
    {"KindWithoutFolder", [](Bytes& b, std::size_t) { setI32(b, slotAt(7) + 264, 9); }, "slot 7 'saver.scf'",
     "kind 9 has no target folder"},
    {"ModuleInWrongFolder", [](Bytes& b, std::size_t) { setI32(b, slotAt(6) + 264, 5); }, "slot 6",
     "looks for it in the system folder"},
    {"NameWithPath", [](Bytes& b, std::size_t) { b[slotAt(7)] = 3; b[slotAt(7) + 1] = '.'; b[slotAt(7) + 2] = '.'; b[slotAt(7) + 3] = '\\'; },
     "slot 7", "is not a plain file name"},
    {"FlashIndexTooLarge", [](Bytes& b, std::size_t) { b[675328 + 4] = 2; }, "header flashVersionIndex",
     "only 0 (7 r19) and 1 (8 r22) are valid"},
    {"PictureNotBitmap", [](Bytes& b, std::size_t) { b[675328] = 8; }, "slot 3 'installer.bmp'",
     "shows slot 3 as a JPEG picture, but the file is a Windows bitmap"},
    {"DataTooManyEntries", [](Bytes& b, std::size_t d) { setI32(b, d + 212, 1011); }, "slot 8 'night.ssd'",
     "its entry count is 1011; the installer holds at most 1010"},
    {"DataNameEscapes",
     [](Bytes& b, std::size_t d) {
       const char evil[] = "..\\..\\evil.dll";
       std::copy(std::begin(evil), std::end(evil), b.begin() + static_cast<std::ptrdiff_t>(d + 1240 + 264 + 2));
     },
     "slot 8 'night.ssd': entry 2", "leads outside its folder"},
    {"DataChunkBeyondFile", [](Bytes& b, std::size_t d) { setI32(b, d + 1240 + 264 + 260, 0x7000000); },
     "slot 8 'night.ssd': entry 2 'sounds\\chime.wav'", "its chunk offset 117440512 lies beyond the file"},
    {"DataChunkWrongLength",
     [](Bytes& b, std::size_t d) {
       const auto chunk = d + static_cast<std::size_t>(i32At(b, d + 1240 + 264 * 3 + 260));
       setI32(b, chunk + 8, i32At(b, chunk + 8) - 1);
     },
     "entry 4 'config.ini'", "expands to more than its expanded size of 407 bytes"},
    {"DataChunkWrongCrc",
     [](Bytes& b, std::size_t d) { b[d + static_cast<std::size_t>(i32At(b, d + 1240 + 264 * 3 + 260)) + 4] ^= 1; },
     "entry 4 'config.ini'", "the content is damaged"},
    {"DataCompressedWithoutBytes",
     [](Bytes& b, std::size_t d) { setI32(b, d + static_cast<std::size_t>(i32At(b, d + 1240 + 264 * 3 + 260)) + 12, 0); },
     "entry 4 'config.ini'", "stored size of 0: the installer stops with -7"},
};

class SpoiltPackage : public testing::TestWithParam<SpoilCase> {};

TEST_P(SpoiltPackage, IsDiagnosed) {
  Bytes b = Packages::get().package();
  GetParam().spoil(b, Packages::get().dataStart());
  MemorySource source(b);
  Diagnostics problems;
  verifyPackage(source, "out.exe", problems, nullptr);
  std::string all;
  bool found = false;
  for (const Problem& p : problems.problems()) {
    all += formatProblem(p) + "\n";
    found |= p.severity == Severity::Error && p.where.find(GetParam().where) != std::string::npos &&
             p.message.find(GetParam().message) != std::string::npos;
  }
  EXPECT_TRUE(found) << "wanted an error at \"" << GetParam().where << "\": \"" << GetParam().message << "\"\ngot:\n" << all;
}

INSTANTIATE_TEST_SUITE_P(Verify, SpoiltPackage, testing::ValuesIn(kCases), CaseName());

TEST(Verify, GoodPackageHasNoProblems) {
  MemorySource source(Packages::get().package());
  Diagnostics problems;
  const VerifySummary s = verifyPackage(source, "out.exe", problems, nullptr);
  for (const Problem& p : problems.problems()) ADD_FAILURE() << formatProblem(p);
  EXPECT_EQ(s.usedSlots, 8);
  EXPECT_EQ(s.dataEntries, 4u);
}

TEST(Verify, PackageFromTheOriginalBuilderHasNoChecksumsToCheck) {
  Bytes b = Packages::get().package();
  for (int slot = 0; slot < kSlotCount; ++slot) putI32At(b, slotAt(slot) + 272, 0);
  // ...so a flipped byte in a stored entry goes unseen, as it would by the installer.
  b[static_cast<std::size_t>(i32At(b, slotAt(7) + 256)) + 3] ^= 0x40;
  MemorySource source(b);
  Diagnostics problems;
  verifyPackage(source, "out.exe", problems, nullptr);
  EXPECT_EQ(problems.errorCount(), 0u);
}

TEST(Verify, BareDataFileCutInsideItsDirectory) {
  const Bytes& b = Packages::get().package();
  const std::size_t d = Packages::get().dataStart();
  const Bytes data(b.begin() + static_cast<std::ptrdiff_t>(d), b.begin() + static_cast<std::ptrdiff_t>(d + 1240 + 264 + 100));
  MemorySource source(data);
  Diagnostics problems;
  verifyDataFile(source, "night.ssd", problems, nullptr);
  ASSERT_GE(problems.errorCount(), 1u);
  EXPECT_EQ(formatProblem(problems.problems().front()),
            "night.ssd: the file is cut inside its directory: entry 2 of 4 is not all there");
}

}  // namespace
