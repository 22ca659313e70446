#include "tools/saverpack/lib/self_path.h"

std::filesystem::path ownExecutablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : p;
}
