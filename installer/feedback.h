#pragma once
// The installer window's status line and progress step as the extraction
// and data-file steps reach them. The window plugs itself in; until it does
// (and in tests that observe the calls) the calls go to whoever is set, or
// nowhere. Quiet mode is the window's concern: it ignores both itself.
#include <string>

class InstallerFeedback {
 public:
  virtual void showStatus(const std::string& text) = 0;
  virtual void stepProgress() = 0;

 protected:
  ~InstallerFeedback() = default;
};

// The feedback the steps use from now on; nullptr for none.
void setInstallerFeedback(InstallerFeedback* feedback);

void showStatus(const std::string& text);
void stepProgress();
