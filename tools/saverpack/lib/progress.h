#pragma once
// A one-line progress bar on standard error, for work measured in bytes.
// It appears only when standard error is a terminal and the work has run
// for a second, and it is wiped when the work ends; otherwise it prints
// nothing at all.
#include <chrono>
#include <cstdint>
#include <string>

class Progress {
 public:
  Progress(std::string label, std::uint64_t total);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void advance(std::uint64_t bytes);
  void retract(std::uint64_t bytes);  // work that is being done again

 private:
  void draw();

  std::string label_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point started_;
  std::chrono::steady_clock::time_point lastDraw_;
};

// For the loops that take an optional progress bar.
inline void advance(Progress* p, std::uint64_t bytes) {
  if (p) p->advance(bytes);
}
