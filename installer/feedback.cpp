#include "installer/feedback.h"

namespace {
InstallerFeedback*& current() {
  static InstallerFeedback* feedback = nullptr;
  return feedback;
}
}  // namespace

void setInstallerFeedback(InstallerFeedback* feedback) { current() = feedback; }

void showStatus(const std::string& text) {
  if (current()) current()->showStatus(text);
}

void stepProgress() {
  if (current()) current()->stepProgress();
}
