// saverpack data verify FILE.ssd: a bare data file against the installer's
// limits; one line per problem, exit 1 when there is an error.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/progress.h"
#include "tools/saverpack/lib/verifier.h"

namespace {

struct DataVerifyArgs {
  std::string file;
};

int runDataVerify(const DataVerifyArgs& a) {
  FileSource source(a.file);
  Diagnostics problems;
  std::size_t entries = 0;
  {
    Progress progress("verifying", source.size());
    entries = verifyDataFile(source, a.file, problems, &progress);
  }
  problems.print(std::cout);
  if (problems.hasErrors()) {
    std::cout << a.file << ": " << problems.errorCount() << " problem(s)\n";
    return 1;
  }
  std::cout << a.file << ": ok, " << entries << " entries\n";
  return 0;
}

const RegisterCommand reg({"data verify", "Check a data file against the installer's limits", [](CLI::App& c) {
  auto a = std::make_shared<DataVerifyArgs>();
  c.add_option("file", a->file, "The data file")->required()->check(CLI::ExistingFile);
  return [a] { return runDataVerify(*a); };
}});

}  // namespace
