// saverpack: builds, inspects, verifies, extracts and repacks screen-saver
// installers. The subcommands live in cmd_*.cpp and register themselves.
#include <iostream>
#include <map>
#include <memory>

#include "tools/saverpack/command.h"
#include "tools/saverpack/lib/diagnostics.h"

std::vector<CommandSpec>& commandRegistry() {
  static std::vector<CommandSpec> commands;
  return commands;
}

void printProblems(const Diagnostics& problems) { problems.print(std::cerr); }

namespace {

// The command for the words of `path`, making group commands ("data") on
// the way.
CLI::App* commandFor(CLI::App& app, const std::string& path, const std::string& description,
                     std::map<std::string, CLI::App*>& groups) {
  CLI::App* parent = &app;
  std::string prefix;
  std::size_t begin = 0;
  for (std::size_t space; (space = path.find(' ', begin)) != std::string::npos; begin = space + 1) {
    prefix += path.substr(begin, space - begin);
    CLI::App*& group = groups[prefix];
    if (!group) {
      group = parent->add_subcommand(path.substr(begin, space - begin), "data file commands");
      group->require_subcommand(1);
    }
    parent = group;
    prefix += ' ';
  }
  return parent->add_subcommand(path.substr(begin), description);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("saverpack: builds and checks screen-saver installers", "saverpack");
  app.require_subcommand(1);
  // "/path" is a path (Wine passes Unix paths through), never a Windows-style option.
  app.allow_windows_style_options(false);
  app.set_version_flag("--version", "saverpack 0.1");
  std::sort(commandRegistry().begin(), commandRegistry().end(),
            [](const CommandSpec& a, const CommandSpec& b) { return a.path < b.path; });
  std::map<std::string, CLI::App*> groups;
  std::vector<std::pair<CLI::App*, CommandRun>> runs;
  for (const CommandSpec& spec : commandRegistry()) {
    CLI::App* command = commandFor(app, spec.path, spec.description, groups);
    runs.emplace_back(command, spec.setup(*command));
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  for (auto& [command, run] : runs) {
    if (!command->parsed()) continue;
    try {
      return run();
    } catch (const ToolError& e) {
      std::cerr << "saverpack: " << e.what() << '\n';
    } catch (const std::exception& e) {
      std::cerr << "saverpack: " << e.what() << '\n';
    }
    return 1;
  }
  return 1;
}
