#pragma once
// Helpers for the saverpack tests: scratch folders, whole-file reads and
// writes, a stand-in stub of exactly packageOffset bytes and a stand-in
// compressor library, and building a manifest through the library.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/saverpack/lib/package_builder.h"

namespace sptest {

using Bytes = std::vector<std::uint8_t>;

std::filesystem::path examplesDir();

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

Bytes readFile(const std::filesystem::path& p);
void writeFile(const std::filesystem::path& p, const Bytes& bytes);
void writeText(const std::filesystem::path& p, std::string_view text);
Bytes textBytes(std::string_view text);
Bytes noise(std::size_t n, unsigned seed);  // bytes that do not compress

// "MZ" and zeros, exactly packageOffset bytes; a library of noise.
BuildTools makeFakeTools(const std::filesystem::path& dir);

// Reads and checks the manifest, builds it; any error fails the test.
BuildResult buildManifest(const std::filesystem::path& manifest, const std::filesystem::path& output,
                          const BuildTools& tools);

// Little-endian fields read straight from bytes, without the format module.
std::uint32_t u32At(const Bytes& b, std::size_t at);
std::int32_t i32At(const Bytes& b, std::size_t at);
void putI32At(Bytes& b, std::size_t at, std::int32_t v);

}  // namespace sptest
