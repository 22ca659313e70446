#pragma once
// The fixture of the package tests: fresh folders from prepareFolders (a
// working folder below the test program's TEMP), a package written where the
// running executable would be, and everything a test may leave in the real
// system folder removed again.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "installer/feedback.h"
#include "installer/install_error.h"
#include "tests/files/test_package.h"

// Records the status texts and progress steps the steps send.
class RecordingFeedback : public InstallerFeedback {
 public:
  void showStatus(const std::string& text) override { events.push_back("status:" + text); }
  void stepProgress() override {
    events.push_back("step");
    if (onStep) onStep();
  }
  std::vector<std::string> events;
  std::function<void()> onStep;
};

class PackageTest : public testing::Test {
 protected:
  static constexpr const char* kSaverName = "ReaderTest Saver";

  void SetUp() override;
  void TearDown() override;

  // Writes the package as the "running installer", then runs the start-up
  // steps up to the saver's paths and makes the install folder. Returns the
  // result of the first step that fails.
  InstallError startWith(const TestPackage& package);
  // The package bytes as the installer's own file (exePath) only.
  void writeInstaller(const Bytes& bytes);

  std::string exePath() const;
  std::string installFolder() const;

  RecordingFeedback feedback;
};
