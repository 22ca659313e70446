#include "installer/window_state.h"

InstallerWindowState& installerWindowState() {
  static InstallerWindowState state;
  return state;
}
