#include "tests/saverpack/test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "package/package_format.h"
#include "tools/saverpack/lib/manifest.h"

namespace sptest {

std::filesystem::path examplesDir() { return std::filesystem::path(SAVER_SOURCE_DIR) / "examples"; }

ScratchDir::ScratchDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() / ("saverpack-test-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

Bytes readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::filesystem::path& p, const Bytes& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::filesystem::path& p, std::string_view text) { writeFile(p, textBytes(text)); }

Bytes textBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes noise(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(gen());
  return b;
}

BuildTools makeFakeTools(const std::filesystem::path& dir) {
  Bytes stub(static_cast<std::size_t>(packageOffset), 0);
  stub[0] = 'M';
  stub[1] = 'Z';
  stub[1000] = 0x5A;  // something for the CRC to see
  Bytes lib = noise(12288, 99);
  lib[0] = 'M';
  lib[1] = 'Z';
  writeFile(dir / "stub.exe", stub);
  writeFile(dir / "impborl.dll", lib);
  return {dir / "stub.exe", dir / "impborl.dll"};
}

BuildResult buildManifest(const std::filesystem::path& manifest, const std::filesystem::path& output,
                          const BuildTools& tools) {
  Diagnostics problems;
  const auto plan = readManifest(manifest, problems);
  for (const Problem& p : problems.problems())
    if (p.severity == Severity::Error) ADD_FAILURE() << formatProblem(p);
  if (!plan) throw ToolError("manifest " + manifest.string() + " has errors");
  return buildPackage(*plan, tools, output, problems);
}

std::uint32_t u32At(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(b.at(at + 2)) << 16 | static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

std::int32_t i32At(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(u32At(b, at)); }

void putI32At(Bytes& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

}  // namespace sptest
