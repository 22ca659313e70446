// saverpack data build (FOLDER | MANIFEST) -o OUT.ssd: a data file from
// every file of a folder, or from a manifest's [data] section.
#include <iostream>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/data_file_builder.h"
#include "tools/saverpack/lib/data_folder.h"
#include "tools/saverpack/lib/manifest.h"
#include "tools/saverpack/lib/plan_facts.h"
#include "tools/saverpack/lib/progress.h"

namespace {

struct DataBuildArgs {
  std::string input, output, settings, main, compression = "auto", level = "default";
  std::optional<std::int32_t> mainMovieMode;
  unsigned dictionary = 4096;
};

std::optional<DataPlan> planOfFolder(const DataBuildArgs& a, Diagnostics& problems) {
  DataPlan plan;
  plan.where = a.input;
  Compression c;
  c.method = *parseMethod(a.compression);
  c.dictionarySize = a.dictionary;
  c.level = *parseLevel(a.level);
  plan.items = dataItemsOfFolder(a.input, c, a.input);
  if (!a.main.empty() && !makeMainEntry(plan.items, a.main)) {
    problems.error(a.input, "--main: no file is named '" + a.main + "'");
    return std::nullopt;
  }
  if (!a.settings.empty()) {
    std::error_code ec;
    if (std::filesystem::file_size(a.settings, ec) != 1240) {
      problems.error(a.settings, "--settings: the settings record must be a file of exactly 1240 bytes");
      return std::nullopt;
    }
    plan.settings = a.settings;
  }
  plan.mainMovieMode = a.mainMovieMode;
  checkDataFileRules(factsOfDataPlan(plan), problems);
  if (problems.hasErrors()) return std::nullopt;
  return plan;
}

int runDataBuild(const DataBuildArgs& a) {
  Diagnostics problems;
  const bool folder = std::filesystem::is_directory(a.input);
  const auto plan = folder ? planOfFolder(a, problems) : readDataManifest(a.input, problems);
  if (!plan) {
    printProblems(problems);
    return 1;
  }
  {
    Progress progress("data file", inputSizeOf(*plan));
    buildDataFile(*plan, a.output, problems, &progress);
  }
  printProblems(problems);
  std::cout << a.output << ": " << std::filesystem::file_size(a.output) << " bytes, " << plan->items.size()
            << " entries\n";
  return 0;
}

const RegisterCommand reg({"data build", "Build a screen-saver data file from a folder or a manifest", [](CLI::App& c) {
  auto a = std::make_shared<DataBuildArgs>();
  c.add_option("input", a->input, "A folder (every file in it), or a manifest with a [data] section")
      ->required()->check(CLI::ExistingPath);
  c.add_option("-o,--output", a->output, "The data file to write")->required();
  c.add_option("--settings", a->settings, "A 1240-byte settings record (default: zeros) [folder]");
  c.add_option("--main", a->main, "The file to put first, as the main movie [folder]");
  c.add_option("--main-movie-mode", a->mainMovieMode, "The settings' main-movie mode (3: from the installer's movie) [folder]");
  c.add_option("--compression", a->compression, "auto, stored, binary or ascii [folder]")
      ->check(CLI::IsMember({"auto", "stored", "binary", "ascii"}));
  c.add_option("--dictionary", a->dictionary, "1024, 2048 or 4096 [folder]")->check(CLI::IsMember({1024, 2048, 4096}));
  c.add_option("--level", a->level, "default or best [folder]")->check(CLI::IsMember({"default", "best"}));
  return [a] { return runDataBuild(*a); };
}});

}  // namespace
