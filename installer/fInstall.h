#pragma once
// The installer window. For now a placeholder without a window: its creation
// only decides, from the command line, whether the preparing window is shown
// (centred) or stays off-screen, as the start-up sequence will once it
// exists.
class TInstallerForm {
 public:
  // Runs the creation handler.
  void create();

 private:
  void FormCreate();
};

// Set by the program entry.
extern TInstallerForm* InstallerForm;
