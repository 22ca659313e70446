// Shows one message dialog of the window layer and exits with its answer:
//   ui_dialog_probe KIND BUTTONS TEXT
// KIND and BUTTONS are the enumerators' numbers; the exit code is 100 plus
// the DialogResult's number.
#include <windows.h>

#include <cstdlib>

#include "ui/application.h"
#include "ui/message_dialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc != 4) return 2;
  char** argv = __argv;
  ui::application().initialize();
  const auto kind = static_cast<ui::DialogKind>(std::atoi(argv[1]));
  const auto buttons = static_cast<ui::DialogButtons>(std::atoi(argv[2]));
  return 100 + static_cast<int>(ui::messageDlg(argv[3], kind, buttons));
}
