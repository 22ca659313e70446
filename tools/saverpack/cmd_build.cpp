// saverpack build MANIFEST [-o OUT.exe]: one installer from a manifest.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/diagnostics.h"
#include "tools/saverpack/lib/manifest.h"
#include "tools/saverpack/lib/package_builder.h"
#include "tools/saverpack/lib/tool_files.h"

namespace {

struct BuildArgs {
  std::string manifest, output, stub, compressor;
};

int runBuild(const BuildArgs& a) {
  Diagnostics problems;
  const auto plan = readManifest(a.manifest, problems);
  if (!plan) {
    printProblems(problems);
    return 1;
  }
  BuildTools tools;
  tools.stub = findStub(a.stub, plan->stub);
  tools.compressor = findCompressor(a.compressor, plan->compressor);
  std::filesystem::path output = a.output;
  if (output.empty()) output = std::filesystem::path(a.manifest).stem().string() + ".exe";
  const BuildResult r = buildPackage(*plan, tools, output, problems);
  printProblems(problems);
  int used = 0, compressed = 0;
  for (const PackageEntry& e : r.directory.entries) {
    used += isEmptySlot(e) ? 0 : 1;
    compressed += !isEmptySlot(e) && e.compressed ? 1 : 0;
  }
  std::cout << output.string() << ": " << r.fileSize << " bytes, " << used << " slots used, " << compressed
            << " compressed\n";
  return 0;
}

const RegisterCommand reg({"build", "Build an installer from a manifest", [](CLI::App& c) {
  auto a = std::make_shared<BuildArgs>();
  c.add_option("manifest", a->manifest, "The package manifest (TOML)")->required()->check(CLI::ExistingFile);
  c.add_option("-o,--output", a->output, "The installer to write (default: the manifest's name with .exe, in the current folder)");
  c.add_option("--stub", a->stub, "The installer stub (default: the manifest's, else the one beside saverpack)");
  c.add_option("--compressor", a->compressor, "The compressor library for slot 1 (default: ours)");
  return [a] { return runBuild(*a); };
}});

}  // namespace
