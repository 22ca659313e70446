// saverpack repack OLD.exe -o NEW.exe [--compressor ours|keep]: an existing
// installer's package on our stub.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/repacker.h"
#include "tools/saverpack/lib/tool_files.h"

namespace {

struct RepackArgs {
  std::string old, output, compressor = "keep", stub, library;
};

int runRepack(const RepackArgs& a) {
  FileSource source(a.old);
  RepackOptions options;
  options.stub = findStub(a.stub, {});
  if (a.compressor == "ours") options.compressor = findCompressor(a.library, {});
  Diagnostics problems;
  repackPackage(source, a.old, options, a.output, problems);
  printProblems(problems);
  std::cout << a.output << ": repacked\n";
  return 0;
}

const RegisterCommand reg({"repack", "Move an existing installer's package onto our stub", [](CLI::App& c) {
  auto a = std::make_shared<RepackArgs>();
  c.add_option("old", a->old, "The existing installer")->required()->check(CLI::ExistingFile);
  c.add_option("-o,--output", a->output, "The installer to write")->required();
  c.add_option("--compressor", a->compressor, "Slot 1: keep the old library, or put in ours")
      ->check(CLI::IsMember({"ours", "keep"}));
  c.add_option("--stub", a->stub, "The installer stub (default: the one beside saverpack)");
  c.add_option("--library", a->library, "Our compressor library, for --compressor ours (default: beside saverpack)");
  return [a] { return runRepack(*a); };
}});

}  // namespace
