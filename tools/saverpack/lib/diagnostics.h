#pragma once
// Problems found while reading a manifest or checking a package: each names
// where it is (a manifest line and key, or a file and slot) and what is
// wrong. Errors make the command fail; warnings are shown and do not.
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

enum class Severity { Error, Warning };

struct Problem {
  Severity severity = Severity::Error;
  std::string where;    // "saver.toml:12: picture", "out.exe: slot 3 'a.bmp'"
  std::string message;
};

class Diagnostics {
 public:
  void error(std::string where, std::string message);
  void warning(std::string where, std::string message);

  bool hasErrors() const;
  std::size_t errorCount() const;
  const std::vector<Problem>& problems() const { return problems_; }
  void append(const Diagnostics& other);

  // One line per problem: "where: message" or "where: warning: message".
  void print(std::ostream& out) const;

 private:
  std::vector<Problem> problems_;
};

std::string formatProblem(const Problem& p);

// Thrown by the building paths for failures that end the command (a file
// that cannot be read or written); the command prints it and exits 1.
struct ToolError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
