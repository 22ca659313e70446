// saverpack verify FILE: everything the installer requires, checked; one
// line per problem, exit 1 when there is an error.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/progress.h"
#include "tools/saverpack/lib/verifier.h"

namespace {

struct VerifyArgs {
  std::string file;
};

int runVerify(const VerifyArgs& a) {
  FileSource source(a.file);
  Diagnostics problems;
  VerifySummary s;
  {
    Progress progress("verifying", source.size());
    s = verifyPackage(source, a.file, problems, &progress);
  }
  problems.print(std::cout);
  if (problems.hasErrors()) {
    std::cout << a.file << ": " << problems.errorCount() << " problem(s)\n";
    return 1;
  }
  std::cout << a.file << ": ok, " << s.usedSlots << " entries (" << s.compressedSlots << " compressed)";
  if (s.dataChecked) std::cout << ", data file of " << s.dataEntries << " entries";
  std::cout << '\n';
  return 0;
}

const RegisterCommand reg({"verify", "Check an installer against everything the installer requires", [](CLI::App& c) {
  auto a = std::make_shared<VerifyArgs>();
  c.add_option("file", a->file, "The installer")->required()->check(CLI::ExistingFile);
  return [a] { return runVerify(*a); };
}});

}  // namespace
