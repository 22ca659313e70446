#pragma once
// The subcommand registry: each cmd_*.cpp registers itself with a static
// RegisterCommand, so a new subcommand is one new file (and its line in
// CMakeLists.txt). `path` is the word or words that select it ("build",
// "data build"); `setup` adds its options and returns what runs it, giving
// the exit code.
#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <vector>

using CommandRun = std::function<int()>;

struct CommandSpec {
  std::string path;
  std::string description;
  std::function<CommandRun(CLI::App& command)> setup;
};

std::vector<CommandSpec>& commandRegistry();

struct RegisterCommand {
  explicit RegisterCommand(CommandSpec spec) { commandRegistry().push_back(std::move(spec)); }
};

// Prints warnings and errors to standard error, one a line.
class Diagnostics;
void printProblems(const Diagnostics& problems);
