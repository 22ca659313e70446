#include "installer/fInstall.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "installer/fPreparingInstallWnd.h"

TInstallerForm* InstallerForm = nullptr;

namespace {
// "/q" in any letter case, as a whole argument, anywhere on the command line.
bool quietSwitchGiven() {
  for (int i = 1; i < __argc; ++i) {
    const char* arg = __argv[i];
    if (std::strlen(arg) == 2 && arg[0] == '/' && std::tolower(static_cast<unsigned char>(arg[1])) == 'q') {
      return true;
    }
  }
  return false;
}
}  // namespace

void TInstallerForm::create() {
  FormCreate();
}

void TInstallerForm::FormCreate() {
  if (quietSwitchGiven()) {
    preparingInstallWnd->moveOffScreen();
  } else {
    preparingInstallWnd->centerOnScreen();
  }
}
