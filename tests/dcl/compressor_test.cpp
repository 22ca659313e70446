// TCompressor under Wine with our real impborl.dll, a missing library, a
// file that is no library, and a library that lacks "_crc32".
#include <windows.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <string>

#include "dcl/dcl.h"
#include "package/compressor.h"
#include "tests/dcl/test_data.h"
#include "tests/support/case_name.h"

namespace {

using dcltest::Bytes;

std::string exeFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

Bytes readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

Bytes implodeOf(const Bytes& data, dcl::ImplodeOptions options = {}) {
  Bytes stream;
  EXPECT_EQ(dcl::implode(data, stream, options), dcl::Result::Ok);
  return stream;
}

// A fresh folder (ending with a backslash) for each test, removed after it.
class CompressorTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    folder_ = std::string(temp) + "dcl_compressor_" + std::to_string(GetCurrentProcessId()) + "_" + name + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
  }
  void TearDown() override {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder_ + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder_ + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveDirectoryA(path.c_str());
        } else {
          DeleteFileA(path.c_str());
        }
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
    RemoveDirectoryA(folder_.c_str());
  }
  void installLibrary(const char* builtName = "impborl.dll") {
    ASSERT_TRUE(CopyFileA((exeFolder() + builtName).c_str(), (folder_ + "impborl.dll").c_str(), FALSE));
  }
  std::string folder_;
};

TEST_F(CompressorTest, ExpandsIntoTheTargetWithItsCrc) {
  installLibrary();
  const Bytes data = dcltest::farRepeats(300000, 1);
  const Bytes stream = implodeOf(data, {dcl::LiteralMode::Ascii, 2048});
  TCompressor compressor(folder_);
  ASSERT_TRUE(compressor.loaded);
  EXPECT_EQ(compressor.Expand(folder_ + "out.bin", stream.data(), static_cast<std::int32_t>(stream.size())),
            err::Success);
  EXPECT_TRUE(readFile(folder_ + "out.bin") == data);
  EXPECT_EQ(compressor.outputCrc(), ::crc32(0, data.data(), static_cast<uInt>(data.size())));
  EXPECT_EQ(compressor.explodeResult(), 0u);

  // The same instance (and the one static work area) again, replacing the file.
  const Bytes small = dcltest::text(1000, 2);
  const Bytes smallStream = implodeOf(small);
  EXPECT_EQ(compressor.Expand(folder_ + "out.bin", smallStream.data(), static_cast<std::int32_t>(smallStream.size())),
            err::Success);
  EXPECT_TRUE(readFile(folder_ + "out.bin") == small);
}

TEST_F(CompressorTest, EmptyFolderLoadsTheBareNameAndTheDestructorUnloads) {
  ASSERT_EQ(GetModuleHandleA("impborl.dll"), nullptr);
  {
    TCompressor compressor("");
    EXPECT_TRUE(compressor.loaded);
    EXPECT_NE(GetModuleHandleA("impborl.dll"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleA("impborl.dll"), nullptr);
}

TEST_F(CompressorTest, DamagedStreamLeavesTheDecodablePrefix) {
  installLibrary();
  const Bytes data = dcltest::text(20000, 3);
  const Bytes stream = implodeOf(data);
  const auto half = static_cast<std::int32_t>(stream.size() / 2);
  TCompressor compressor(folder_);
  ASSERT_TRUE(compressor.loaded);
  EXPECT_EQ(compressor.Expand(folder_ + "short.txt", stream.data(), half), err::Success);
  const Bytes out = readFile(folder_ + "short.txt");
  EXPECT_GT(out.size(), 0u);
  EXPECT_LT(out.size(), data.size());
  EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
  EXPECT_EQ(compressor.explodeResult(), 4u);

  EXPECT_EQ(compressor.Expand(folder_ + "empty.txt", stream.data(), 0), err::Success);
  EXPECT_TRUE(readFile(folder_ + "empty.txt").empty());
}

TEST_F(CompressorTest, TargetThatCannotBeCreatedIsTheSystemError) {
  installLibrary();
  const Bytes stream = implodeOf(dcltest::text(100, 4));
  TCompressor compressor(folder_);
  ASSERT_TRUE(compressor.loaded);
  EXPECT_EQ(compressor.Expand(folder_ + "no such folder\\out.txt", stream.data(), static_cast<std::int32_t>(stream.size())),
            ERROR_PATH_NOT_FOUND);
}

struct FailureCase {
  std::string name;
  void (*prepare)(const std::string& folder);
  bool present;  // something named impborl.dll is in the folder
};

const FailureCase kFailures[] = {
    {"MissingFile", [](const std::string&) {}, false},
    {"NotALibrary", [](const std::string& folder) { writeFile(folder + "impborl.dll", "not a library"); }, true},
    {"FolderOfThatName", [](const std::string& folder) { CreateDirectoryA((folder + "impborl.dll").c_str(), nullptr); },
     true},
    {"LacksCrc32",
     [](const std::string& folder) {
       CopyFileA((exeFolder() + "impborl_no_crc32.dll").c_str(), (folder + "impborl.dll").c_str(), FALSE);
     },
     true},
};

class CompressorFailure : public CompressorTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(CompressorFailure, LeavesLoadedFalseAndTheLibraryUnloaded) {
  GetParam().prepare(folder_);
  ASSERT_EQ(GetFileAttributesA((folder_ + "impborl.dll").c_str()) != INVALID_FILE_ATTRIBUTES, GetParam().present);
  TCompressor compressor(folder_);
  EXPECT_FALSE(compressor.loaded);
  EXPECT_EQ(GetModuleHandleA((folder_ + "impborl.dll").c_str()), nullptr);
  const Bytes stream = implodeOf({1, 2, 3});
  EXPECT_EQ(compressor.Expand(folder_ + "out.bin", stream.data(), static_cast<std::int32_t>(stream.size())),
            err::CompressorUnavailable);
  EXPECT_EQ(GetFileAttributesA((folder_ + "out.bin").c_str()), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(Compressor, CompressorFailure, testing::ValuesIn(kFailures), CaseName());

// The library of the LacksCrc32 case loads and has the other two entries, so
// that case is refused for the missing entry alone.
TEST(CompressorFixture, TestLibraryLacksOnlyCrc32) {
  HMODULE dll = LoadLibraryA((exeFolder() + "impborl_no_crc32.dll").c_str());
  ASSERT_NE(dll, nullptr);
  EXPECT_NE(GetProcAddress(dll, "_explode"), nullptr);
  EXPECT_NE(GetProcAddress(dll, "_implode"), nullptr);
  EXPECT_EQ(GetProcAddress(dll, "_crc32"), nullptr);
  FreeLibrary(dll);
}

}  // namespace
