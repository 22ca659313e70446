#include "tools/saverpack/lib/progress.h"

#include <cstdio>

#include "tools/saverpack/lib/terminal.h"

namespace {
constexpr int kBarWidth = 30;
}

Progress::Progress(std::string label, std::uint64_t total)
    : label_(std::move(label)), total_(total), enabled_(stderrIsTerminal()),
      started_(std::chrono::steady_clock::now()), lastDraw_(started_) {}

Progress::~Progress() {
  if (drawn_) std::fprintf(stderr, "\r%*s\r", static_cast<int>(label_.size()) + kBarWidth + 10, "");
}

void Progress::advance(std::uint64_t bytes) {
  done_ += bytes;
  if (!enabled_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - started_ < std::chrono::seconds(1)) return;
  if (drawn_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  draw();
}

void Progress::retract(std::uint64_t bytes) { done_ = bytes > done_ ? 0 : done_ - bytes; }

void Progress::draw() {
  const std::uint64_t done = done_ > total_ ? total_ : done_;
  const int percent = total_ ? static_cast<int>(done * 100 / total_) : 100;
  const int filled = percent * kBarWidth / 100;
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kBarWidth] = '\0';
  std::fprintf(stderr, "\r%s [%s] %3d%%", label_.c_str(), bar, percent);
  std::fflush(stderr);
  drawn_ = true;
}
