// saverpack data extract FILE.ssd -C DIR: a data file's files, as the
// installer would write them (with the settings as saver.dat).
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/extractor.h"
#include "tools/saverpack/lib/progress.h"

namespace {

struct DataExtractArgs {
  std::string file, folder, movie;
};

int runDataExtract(const DataExtractArgs& a) {
  FileSource source(a.file);
  Diagnostics problems;
  ExtractCounts n;
  {
    Progress progress("extracting", source.size());
    std::filesystem::create_directories(a.folder);
    n = extractDataFile(source, a.file, a.folder, a.movie, problems, &progress);
  }
  printProblems(problems);
  std::cout << a.folder << ": " << n.files << " files extracted\n";
  return problems.hasErrors() ? 1 : 0;
}

const RegisterCommand reg({"data extract", "Write a data file's files out", [](CLI::App& c) {
  auto a = std::make_shared<DataExtractArgs>();
  c.add_option("file", a->file, "The data file")->required()->check(CLI::ExistingFile);
  c.add_option("-C,--directory", a->folder, "The folder to write into (made when missing)")->required();
  c.add_option("--movie", a->movie, "The installer's movie, copied for an alias entry 1");
  return [a] { return runDataExtract(*a); };
}});

}  // namespace
