// saverpack extract FILE -C DIR [--data]: every entry, expanded.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/extractor.h"
#include "tools/saverpack/lib/progress.h"

namespace {

struct ExtractArgs {
  std::string file, folder;
  bool data = false;
};

int runExtract(const ExtractArgs& a) {
  FileSource source(a.file);
  Diagnostics problems;
  ExtractCounts n;
  {
    Progress progress("extracting", source.size());
    n = extractPackage(source, a.file, a.folder, a.data, problems, &progress);
  }
  printProblems(problems);
  std::cout << a.folder << ": " << n.files << " files extracted\n";
  return problems.hasErrors() ? 1 : 0;
}

const RegisterCommand reg({"extract", "Write an installer's entries out as files", [](CLI::App& c) {
  auto a = std::make_shared<ExtractArgs>();
  c.add_option("file", a->file, "The installer")->required()->check(CLI::ExistingFile);
  c.add_option("-C,--directory", a->folder, "The folder to write into (made when missing)")->required();
  c.add_flag("--data", a->data, "Also the data file's files, into DIR/data/");
  return [a] { return runExtract(*a); };
}});

}  // namespace
