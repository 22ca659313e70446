// saverpack inspect FILE [--json] (also "list"): what an installer holds.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/package_reader.h"
#include "tools/saverpack/lib/report.h"

namespace {

struct InspectArgs {
  std::string file;
  bool json = false;
};

CommandRun setupInspect(CLI::App& c) {
  auto a = std::make_shared<InspectArgs>();
  c.add_option("file", a->file, "The installer")->required()->check(CLI::ExistingFile);
  c.add_flag("--json", a->json, "One JSON object instead of the table");
  return [a] {
    FileSource source(a->file);
    std::cout << inspectPackage(source, a->file, a->json);
    return readPackageView(source).hasDirectory ? 0 : 1;  // a file without a package is no success
  };
}

const RegisterCommand inspect({"inspect", "Show an installer's header, slots and data file", setupInspect});
const RegisterCommand list({"list", "The same as inspect", setupInspect});

}  // namespace
