// saverpack movie FILE [--json]: what the installer's movie reader finds in a
// movie (signature, version, frame size, background, the two command flags
// and the result code), so that an author sees whether it will play.
#include "flash/swf_report.h"
#include "tools/saverpack/command.h"

namespace {

struct MovieArgs {
  std::string file;
  bool json = false;
};

const RegisterCommand reg({"movie", "Show what the installer reads from a Flash movie", [](CLI::App& c) {
  auto a = std::make_shared<MovieArgs>();
  c.add_option("file", a->file, "The movie (.swf)")->required();
  c.add_flag("--json", a->json, "Print one JSON object");
  return [a] { return runMovieCommand(a->file, a->json, stdout); };
}});

}  // namespace
