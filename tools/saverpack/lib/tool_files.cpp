#include "tools/saverpack/lib/tool_files.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "package/package_format.h"
#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/self_path.h"

namespace {

std::filesystem::path findToolFile(const std::filesystem::path& flag, const std::filesystem::path& manifest,
                                   const char* fileName, const char* envName, const char* what) {
  std::vector<std::filesystem::path> tried;
  const auto usable = [&](const std::filesystem::path& p) {
    std::error_code ec;
    if (p.empty()) return false;
    tried.push_back(p);
    return std::filesystem::is_regular_file(p, ec);
  };
  // A path given by the user that does not exist is an error, not a reason
  // to fall back silently to another file.
  if (!flag.empty()) {
    if (usable(flag)) return flag;
    throw ToolError(flag.string() + ": no such " + what);
  }
  if (!manifest.empty()) return manifest;  // the manifest reader checked it
  const std::filesystem::path self = ownExecutablePath();
  if (!self.empty() && usable(self.parent_path() / "stub" / fileName)) return self.parent_path() / "stub" / fileName;
  if (const char* env = std::getenv(envName); env && *env) {
    if (usable(env)) return env;
  }
  std::string places;
  for (const auto& p : tried) places += "\n  " + p.string();
  throw ToolError(std::string("cannot find the ") + what + " (" + fileName + "); give it with the flag, the manifest or " +
                  envName + ". Looked at:" + (places.empty() ? std::string("\n  (nowhere)") : places));
}

}  // namespace

std::filesystem::path findStub(const std::filesystem::path& flag, const std::filesystem::path& manifest) {
  return findToolFile(flag, manifest, kStubFileName, "SAVERPACK_STUB", "installer stub");
}

std::filesystem::path findCompressor(const std::filesystem::path& flag, const std::filesystem::path& manifest) {
  return findToolFile(flag, manifest, kCompressorLibraryName, "SAVERPACK_COMPRESSOR", "compressor library");
}
