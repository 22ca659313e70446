// extract never writes outside its folder, whatever names a package holds:
// slot names with paths, data-file names that climb out or are absolute,
// and a symbolic link planted in the folder.
#include <gtest/gtest.h>

#include <cstring>

#include "package/data_file_format.h"
#include "package/package_format.h"
#include "tests/saverpack/test_support.h"
#include "tests/support/case_name.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/data_file_builder.h"
#include "tools/saverpack/lib/extractor.h"
#include "tools/saverpack/lib/manifest.h"

namespace {

using sptest::Bytes;

constexpr std::size_t kDirectory = 675328 + 72;

// Every regular file below `root`, relative.
std::vector<std::string> filesBelow(const std::filesystem::path& root) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_regular_file()) out.push_back(std::filesystem::relative(e.path(), root).generic_string());
  std::sort(out.begin(), out.end());
  return out;
}

struct NameCase {
  std::string name;
  std::string evil;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }

const NameCase kSlotNames[] = {
    {"ParentFolder", "../evil.scf"},
    {"ParentFolderBackslash", "..\\evil.scf"},
    {"Absolute", "/tmp/evil.scf"},
    {"DriveLetter", "C:evil.scf"},
    {"SubFolder", "sub/evil.scf"},
};

class UnsafeSlotName : public testing::TestWithParam<NameCase> {};

TEST_P(UnsafeSlotName, IsRefusedAndNothingLeavesTheFolder) {
  sptest::ScratchDir dir;
  const BuildTools tools = sptest::makeFakeTools(dir.path());
  sptest::buildManifest(sptest::examplesDir() / "quiet/harbour-quiet.toml", dir / "p.exe", tools);
  Bytes b = sptest::readFile(dir / "p.exe");
  const std::string& evil = GetParam().evil;
  const std::size_t at = kDirectory + 280 * 7;
  b[at] = static_cast<std::uint8_t>(evil.size());
  std::memcpy(&b[at + 1], evil.data(), evil.size());

  const auto root = dir / "root";
  const auto out = root / "a" / "b";
  std::filesystem::create_directories(out);
  MemorySource source(b);
  Diagnostics problems;
  extractPackage(source, "p.exe", out, true, problems, nullptr);
  EXPECT_EQ(problems.errorCount(), 1u);
  EXPECT_NE(problems.problems().front().message.find("not extracted"), std::string::npos);
  for (const std::string& f : filesBelow(root)) EXPECT_EQ(f.rfind("a/b/", 0), 0u) << f;
  EXPECT_FALSE(std::filesystem::exists("/tmp/evil.scf"));
}

INSTANTIATE_TEST_SUITE_P(Extract, UnsafeSlotName, testing::ValuesIn(kSlotNames), CaseName());

const NameCase kDataNames[] = {
    {"ParentFolder", "..\\..\\evil.txt"},
    {"ParentInside", "sub\\..\\..\\evil.txt"},
    {"Absolute", "\\evil.txt"},
    {"Unc", "\\\\server\\share\\evil.txt"},
    {"DriveLetter", "C:\\evil.txt"},
    {"DotsThatClimb", "...\\evil.txt"},
};

class UnsafeDataName : public testing::TestWithParam<NameCase> {};

TEST_P(UnsafeDataName, IsRefusedAndNothingLeavesTheFolder) {
  sptest::ScratchDir dir;
  Diagnostics problems;
  const auto plan = readDataManifest(sptest::examplesDir() / "quiet/harbour-quiet.toml", problems);
  buildDataFile(*plan, dir / "d.ssd", problems, nullptr);
  Bytes b = sptest::readFile(dir / "d.ssd");
  std::memset(&b[1240 + 264 * 3 + 2], 0, 256);  // entry 4, a stored file
  std::memcpy(&b[1240 + 264 * 3 + 2], GetParam().evil.data(), GetParam().evil.size());

  const auto root = dir / "root";
  const auto out = root / "a" / "b";
  std::filesystem::create_directories(out);
  MemorySource source(b);
  Diagnostics found;
  extractDataFile(source, "d.ssd", out, {}, found, nullptr);
  EXPECT_EQ(found.errorCount(), 1u);
  for (const std::string& f : filesBelow(root)) EXPECT_EQ(f.rfind("a/b/", 0), 0u) << f;
}

INSTANTIATE_TEST_SUITE_P(Extract, UnsafeDataName, testing::ValuesIn(kDataNames), CaseName());

TEST(Extract, DoesNotWriteThroughASymbolicLink) {
  sptest::ScratchDir dir;
  const BuildTools tools = sptest::makeFakeTools(dir.path());
  sptest::buildManifest(sptest::examplesDir() / "quiet/harbour-quiet.toml", dir / "p.exe", tools);
  const auto out = dir / "out";
  const auto elsewhere = dir / "elsewhere";
  std::filesystem::create_directories(out / "data");
  std::filesystem::create_directories(elsewhere);
  std::filesystem::create_directory_symlink(elsewhere, out / "data" / "sounds");
  FileSource source(dir / "p.exe");
  Diagnostics problems;
  extractPackage(source, "p.exe", out, true, problems, nullptr);
  EXPECT_EQ(problems.errorCount(), 1u);
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

}  // namespace
