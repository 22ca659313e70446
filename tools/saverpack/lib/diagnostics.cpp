#include "tools/saverpack/lib/diagnostics.h"

#include <algorithm>

void Diagnostics::error(std::string where, std::string message) {
  problems_.push_back({Severity::Error, std::move(where), std::move(message)});
}

void Diagnostics::warning(std::string where, std::string message) {
  problems_.push_back({Severity::Warning, std::move(where), std::move(message)});
}

bool Diagnostics::hasErrors() const { return errorCount() > 0; }

std::size_t Diagnostics::errorCount() const {
  return static_cast<std::size_t>(std::count_if(problems_.begin(), problems_.end(),
                                                [](const Problem& p) { return p.severity == Severity::Error; }));
}

void Diagnostics::append(const Diagnostics& other) {
  problems_.insert(problems_.end(), other.problems_.begin(), other.problems_.end());
}

std::string formatProblem(const Problem& p) {
  return p.where + (p.severity == Severity::Warning ? ": warning: " : ": ") + p.message;
}

void Diagnostics::print(std::ostream& out) const {
  for (const Problem& p : problems_) out << formatProblem(p) << '\n';
}
