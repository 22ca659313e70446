// Every example package, built and read back two ways: by the format module
// and by a reader of the test's own that walks the raw bytes at the fixed
// offsets (slot 0, unused slots, entries back to back, kinds, CRCs checked
// with zlib's crc32). Then verify finds nothing, extract gives back every
// input byte for byte, and repack keeps every slot's bytes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <cstring>

#include "dcl/dcl.h"
#include "package/data_file_format.h"
#include "package/package_format.h"
#include "tests/saverpack/test_support.h"
#include "tests/support/case_name.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/extractor.h"
#include "tools/saverpack/lib/manifest.h"
#include "tools/saverpack/lib/repacker.h"
#include "tools/saverpack/lib/verifier.h"

namespace {

using sptest::Bytes;
using sptest::i32At;
using sptest::u32At;

struct ExampleCase {
  std::string name;
  std::string manifest;  // below examples/
  std::uint8_t mode;
  std::uint8_t showLicense, hasReadMe;
};

void PrintTo(const ExampleCase& c, std::ostream* os) { *os << c.name; }

const ExampleCase kExamples[] = {
    {"Picture", "picture/night-harbour.toml", 1, 1, 1},
    {"Jpeg", "jpeg/harbour-photo.toml", 8, 0, 0},
    {"Movie", "movie/harbour-movie.toml", 2, 0, 1},
    {"Quiet", "quiet/harbour-quiet.toml", 4, 0, 0},
};

constexpr std::size_t kHeader = 675328;
constexpr std::size_t kDirectory = kHeader + 72;
constexpr std::size_t kData = kDirectory + 11 * 280;

std::uint32_t zlibCrc(const Bytes& b) {
  return static_cast<std::uint32_t>(crc32(0L, b.data(), static_cast<uInt>(b.size())));
}

Bytes slice(const Bytes& b, std::size_t from, std::size_t n) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

// Stored bytes or their expansion.
Bytes expanded(const Bytes& stored, bool compressed) {
  if (!compressed) return stored;
  Bytes out;
  EXPECT_EQ(dcl::explode(stored, out), dcl::Result::Ok);
  return out;
}

class ExamplePackage : public testing::TestWithParam<ExampleCase> {
 protected:
  void SetUp() override {
    tools_ = sptest::makeFakeTools(dir_.path());
    manifest_ = sptest::examplesDir() / GetParam().manifest;
    Diagnostics problems;
    plan_ = *readManifest(manifest_, problems);
    result_ = sptest::buildManifest(manifest_, package_, tools_);
    bytes_ = sptest::readFile(package_);
  }

  Bytes entryStored(const Bytes& pkg, int slot) const {
    const std::size_t at = kDirectory + 280 * static_cast<std::size_t>(slot);
    const auto start = static_cast<std::size_t>(i32At(pkg, at + 256));
    const auto end = static_cast<std::size_t>(i32At(pkg, at + 260));
    return slice(pkg, start, end - start + 1);
  }

  sptest::ScratchDir dir_;
  BuildTools tools_;
  std::filesystem::path manifest_;
  std::filesystem::path package_ = dir_ / "out.exe";
  PackagePlan plan_;
  BuildResult result_;
  Bytes bytes_;
};

TEST_P(ExamplePackage, BytesFollowTheLayoutByHand) {
  const Bytes& b = bytes_;
  ASSERT_GE(b.size(), kData);
  EXPECT_EQ(slice(b, 0, kHeader), sptest::readFile(tools_.stub));
  EXPECT_EQ(b[kHeader + 0], GetParam().mode);
  EXPECT_EQ(b[kHeader + 1], GetParam().showLicense);
  EXPECT_EQ(b[kHeader + 2], GetParam().hasReadMe);
  EXPECT_EQ(b[kHeader + 3], 0);  // no Flash Player installer in the examples
  EXPECT_EQ(b[kHeader + 70], 0);
  EXPECT_EQ(b[kHeader + 71], 0);

  // Slot 0 describes the executable itself.
  EXPECT_EQ(b[kDirectory], 11);
  EXPECT_EQ(std::memcmp(&b[kDirectory + 1], "install.exe", 11), 0);
  EXPECT_EQ(i32At(b, kDirectory + 256), 0);
  EXPECT_EQ(i32At(b, kDirectory + 260), 675327);
  EXPECT_EQ(i32At(b, kDirectory + 264), 6);
  EXPECT_EQ(b[kDirectory + 268], 0);
  EXPECT_EQ(i32At(b, kDirectory + 276), 675328);
  EXPECT_EQ(u32At(b, kDirectory + 272), zlibCrc(slice(b, 0, kHeader)));

  const std::int32_t kinds[11] = {6, 4, 3, 7, 7, 7, 2, 5, 4, 5, 5};
  std::size_t next = kData;
  for (int slot = 1; slot < 11; ++slot) {
    SCOPED_TRACE("slot " + std::to_string(slot));
    const std::size_t at = kDirectory + 280 * static_cast<std::size_t>(slot);
    const std::int32_t start = i32At(b, at + 256), end = i32At(b, at + 260), kind = i32At(b, at + 264);
    const std::uint8_t compressed = b[at + 268];
    const std::int32_t size = i32At(b, at + 276);
    EXPECT_EQ(b[at + 269] | b[at + 270] | b[at + 271], 0);
    if (b[at] == 0) {
      // Unused: start = end = where the next entry begins, kind 7, compressed 1, size 0.
      EXPECT_EQ(static_cast<std::size_t>(start), next);
      EXPECT_EQ(end, start);
      EXPECT_EQ(kind, 7);
      EXPECT_EQ(compressed, 1);
      EXPECT_EQ(size, 0);
      continue;
    }
    EXPECT_EQ(static_cast<std::size_t>(start), next) << "entries lie back to back in slot order";
    ASSERT_GE(end, start);
    EXPECT_EQ(kind, kinds[slot]);
    const Bytes stored = slice(b, static_cast<std::size_t>(start), static_cast<std::size_t>(end - start + 1));
    const Bytes file = expanded(stored, compressed != 0);
    EXPECT_EQ(file.size(), static_cast<std::size_t>(size));
    EXPECT_EQ(u32At(b, at + 272), zlibCrc(file));
    if (slot == 1) {
      EXPECT_EQ(compressed, 0) << "the compressor library is always stored";
    }
    next = static_cast<std::size_t>(end) + 1;
  }
  EXPECT_EQ(next, b.size()) << "the last entry ends at the last byte";
}

TEST_P(ExamplePackage, DataFileFollowsItsLayoutByHand) {
  const std::size_t at = kDirectory + 280 * 8;
  const Bytes d = expanded(entryStored(bytes_, 8), bytes_[at + 268] != 0);
  ASSERT_GE(d.size(), 1240u);
  const std::int32_t count = i32At(d, 212);
  ASSERT_EQ(static_cast<std::size_t>(count), plan_.data->items.size());
  std::size_t next = 1240 + 264 * static_cast<std::size_t>(count);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::size_t e = 1240 + 264 * static_cast<std::size_t>(i);
    const DataItem& item = plan_.data->items[static_cast<std::size_t>(i)];
    SCOPED_TRACE(item.name);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&d[e + 2])), item.name);
    EXPECT_EQ(d[e + 258] | d[e + 259], 0);
    if (item.alias) {
      EXPECT_EQ(d[e], 3);
      EXPECT_EQ(i32At(d, e + 260), 0);
      continue;
    }
    const auto chunk = static_cast<std::size_t>(i32At(d, e + 260));
    EXPECT_EQ(chunk, next) << "chunks lie back to back in entry order";
    EXPECT_EQ(std::memcmp(&d[chunk], "CHUN", 4), 0);
    const std::int32_t expandedSize = i32At(d, chunk + 8), storedSize = i32At(d, chunk + 12);
    const bool compressed = i32At(d, chunk + 16) != 0;
    const Bytes stored = slice(d, chunk + 44, static_cast<std::size_t>(compressed ? storedSize : expandedSize));
    const Bytes file = expanded(stored, compressed);
    EXPECT_EQ(file, sptest::readFile(item.path));
    EXPECT_EQ(u32At(d, chunk + 4), zlibCrc(file));
    next = chunk + 44 + stored.size();
  }
  EXPECT_EQ(next, d.size());
}

TEST_P(ExamplePackage, FormatModuleReadsWhatWasBuilt) {
  std::array<std::uint8_t, kPackageDirectorySize> block{};
  std::memcpy(block.data(), &bytes_[kHeader], block.size());
  const PackageDirectory dir = decodePackageDirectory(block);
  std::array<std::uint8_t, kPackageDirectorySize> again{};
  encodePackageDirectory(result_.directory, again);
  EXPECT_EQ(block, again);
  EXPECT_EQ(saverNameOf(dir.header), saverNameOf(plan_.header));
  for (int slot = 2; slot < kSlotCount; ++slot) {
    const auto& src = plan_.slots[static_cast<std::size_t>(slot)];
    EXPECT_EQ(entryNameOf(dir.entries[static_cast<std::size_t>(slot)]), src ? src->name : "") << "slot " << slot;
  }
}

TEST_P(ExamplePackage, VerifyFindsNothing) {
  FileSource source(package_);
  Diagnostics problems;
  const VerifySummary s = verifyPackage(source, package_.string(), problems, nullptr);
  for (const Problem& p : problems.problems()) ADD_FAILURE() << formatProblem(p);
  EXPECT_TRUE(s.dataChecked);
  EXPECT_EQ(s.dataEntries, plan_.data->items.size());
}

TEST_P(ExamplePackage, ExtractGivesBackEveryInput) {
  FileSource source(package_);
  Diagnostics problems;
  const auto out = dir_ / "x";
  extractPackage(source, package_.string(), out, true, problems, nullptr);
  for (const Problem& p : problems.problems()) ADD_FAILURE() << formatProblem(p);
  EXPECT_EQ(sptest::readFile(out / "install.exe"), sptest::readFile(tools_.stub));
  EXPECT_EQ(sptest::readFile(out / "impborl.dat"), sptest::readFile(tools_.compressor));
  for (int slot = 2; slot < kSlotCount; ++slot) {
    const auto& s = plan_.slots[static_cast<std::size_t>(slot)];
    if (!s || slot == Slot::DataFile) continue;
    EXPECT_EQ(sptest::readFile(out / s->name), sptest::readFile(s->path)) << s->name;
  }
  const DataPlan& data = *plan_.data;
  const DataItem& main = data.items.front();
  const auto mainSource = main.alias ? plan_.slots[Slot::Picture]->path : main.path;
  for (const DataItem& item : data.items) {
    std::string name = item.name;
    std::replace(name.begin(), name.end(), '\\', '/');
    EXPECT_EQ(sptest::readFile(out / "data" / name), sptest::readFile(item.alias ? mainSource : item.path)) << name;
  }
  const Bytes settings = sptest::readFile(out / "data" / "saver.dat");
  ASSERT_EQ(settings.size(), 1240u);
  EXPECT_EQ(i32At(settings, 212), static_cast<std::int32_t>(data.items.size()));
  if (data.settings) {
    Bytes wanted = sptest::readFile(*data.settings);
    sptest::putI32At(wanted, 212, static_cast<std::int32_t>(data.items.size()));
    EXPECT_EQ(settings, wanted);
  }
}

TEST_P(ExamplePackage, RepackKeepsEverySlotsBytes) {
  // An installer as built for the original installer: no checksums.
  Bytes old = bytes_;
  for (int slot = 0; slot < kSlotCount; ++slot) sptest::putI32At(old, kDirectory + 280 * static_cast<std::size_t>(slot) + 272, 0);
  sptest::writeFile(dir_ / "old.exe", old);
  Bytes otherStub(kHeader, 0x11);
  sptest::writeFile(dir_ / "other-stub.exe", otherStub);

  FileSource source(dir_ / "old.exe");
  Diagnostics problems;
  repackPackage(source, "old.exe", {dir_ / "other-stub.exe", {}}, dir_ / "new.exe", problems);
  EXPECT_TRUE(problems.problems().empty());
  const Bytes fresh = sptest::readFile(dir_ / "new.exe");
  EXPECT_EQ(slice(fresh, 0, kHeader), otherStub);
  EXPECT_EQ(slice(fresh, kHeader, 72), slice(bytes_, kHeader, 72));
  for (int slot = 1; slot < kSlotCount; ++slot) {
    const std::size_t at = kDirectory + 280 * static_cast<std::size_t>(slot);
    if (bytes_[at] == 0) continue;
    EXPECT_EQ(entryStored(fresh, slot), entryStored(bytes_, slot)) << "slot " << slot;
    EXPECT_EQ(slice(fresh, at, 256), slice(bytes_, at, 256)) << "slot " << slot;
    EXPECT_EQ(slice(fresh, at + 264, 16), slice(bytes_, at + 264, 16)) << "kind, flags, checksum regained, size";
  }
  FileSource repacked(dir_ / "new.exe");
  Diagnostics verified;
  verifyPackage(repacked, "new.exe", verified, nullptr);
  EXPECT_EQ(verified.errorCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExamplePackage, testing::ValuesIn(kExamples), CaseName());

TEST(Repack, OurCompressorReplacesSlotOne) {
  sptest::ScratchDir dir;
  const BuildTools tools = sptest::makeFakeTools(dir.path());
  sptest::buildManifest(sptest::examplesDir() / "quiet/harbour-quiet.toml", dir / "old.exe", tools);
  const Bytes ours = sptest::noise(5000, 3);
  sptest::writeFile(dir / "ours.dll", ours);
  FileSource source(dir / "old.exe");
  Diagnostics problems;
  repackPackage(source, "old.exe", {tools.stub, dir / "ours.dll"}, dir / "new.exe", problems);
  const Bytes fresh = sptest::readFile(dir / "new.exe");
  const std::size_t at = kDirectory + 280;
  EXPECT_EQ(std::memcmp(&fresh[at + 1], "impborl.dat", 11), 0);
  EXPECT_EQ(slice(fresh, static_cast<std::size_t>(i32At(fresh, at + 256)), ours.size()), ours);
  EXPECT_EQ(i32At(fresh, at + 276), 5000);
}

}  // namespace
