// Any bytes through verify and inspect, twice: as a package appended to a
// stub (the input starts at the package offset), and as a bare data file.
// Neither may crash, hang or read out of bounds, whatever the input says.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "package/package_format.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/report.h"
#include "tools/saverpack/lib/verifier.h"

namespace {

// The stub is "MZ" and zeros, never held in memory; the input follows it.
class StubbedPackage : public ByteSource {
 public:
  explicit StubbedPackage(std::span<const std::uint8_t> package) : package_(package) {}
  std::uint64_t size() const override { return kStub + package_.size(); }
  bool read(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (offset > size() || out.size() > size() - offset) return false;
    std::size_t i = 0;
    for (; i < out.size() && offset + i < kStub; ++i) {
      const std::uint64_t at = offset + i;
      out[i] = at == 0 ? 'M' : at == 1 ? 'Z' : 0;
    }
    if (i < out.size()) std::memcpy(&out[i], &package_[static_cast<std::size_t>(offset + i - kStub)], out.size() - i);
    return true;
  }

 private:
  static constexpr std::uint64_t kStub = static_cast<std::uint64_t>(packageOffset);
  std::span<const std::uint8_t> package_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  // Slot 0's checksum would have every run checksum the whole stub: it is
  // cleared, the same check runs over every other entry.
  std::vector<std::uint8_t> copy(data, data + size);
  constexpr std::size_t kStubCrc = kPackageHeaderSize + 272;
  if (copy.size() >= kStubCrc + 4) std::memset(&copy[kStubCrc], 0, 4);
  StubbedPackage package(copy);
  Diagnostics problems;
  verifyPackage(package, "fuzz.exe", problems, nullptr);
  inspectPackage(package, "fuzz.exe", true);
  inspectPackage(package, "fuzz.exe", false);

  MemorySource dataFile(input);
  Diagnostics dataProblems;
  verifyDataFile(dataFile, "fuzz.ssd", dataProblems, nullptr);
  inspectDataFile(dataFile, "fuzz.ssd", true);
  inspectDataFile(dataFile, "fuzz.ssd", false);
  return 0;
}
