// saverpack inspect FILE [--json] (also "list"): what an installer holds.
#include <iostream>

#include <nlohmann/json.hpp>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/byte_source.h"
#include "tools/saverpack/lib/package_reader.h"
#include "tools/saverpack/lib/report.h"
#include "tools/saverpack/slot_movie.h"

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
    std::string report = inspectPackage(source, a->file, a->json);
    if (const auto movie = reportSlotMovie(source)) {
      if (a->json) {
        auto j = nlohmann::ordered_json::parse(report);
        j["movie"] = nlohmann::ordered_json::parse(movie->json);
        report = j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
      } else {
        report += "\nmovie (slot 3):\n" + movie->text;
      }
    }
    std::cout << report;
    return readPackageView(source).hasDirectory ? 0 : 1;  // a file without a package is no success
  };
}

const RegisterCommand inspect({"inspect", "Show an installer's header, slots and data file", setupInspect});
const RegisterCommand list({"list", "The same as inspect", setupInspect});

}  // namespace
