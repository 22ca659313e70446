// saverpack data list FILE.ssd [--json]: a data file's settings and directory.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/data_file_reader.h"
#include "tools/saverpack/lib/report.h"

namespace {

struct DataListArgs {
  std::string file;
  bool json = false;
};

const RegisterCommand reg({"data list", "Show a data file's settings and directory", [](CLI::App& c) {
  auto a = std::make_shared<DataListArgs>();
  c.add_option("file", a->file, "The data file")->required()->check(CLI::ExistingFile);
  c.add_flag("--json", a->json, "One JSON object instead of the table");
  return [a] {
    FileSource source(a->file);
    std::cout << inspectDataFile(source, a->file, a->json);
    return readDataFileView(source).settingsComplete ? 0 : 1;
  };
}});

}  // namespace
