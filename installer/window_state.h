#pragma once
// What the installer window keeps of the package header for a run, and the
// settings record of the screen-saver data file. The start-up fills the
// copies: `installMode` from the header ("/q" makes it 4), `hasReadMe` in
// every mode, `showLicense` only when the licence was shown.
#include <cstdint>

#include "package/data_file_format.h"

struct InstallerWindowState {
  std::uint8_t installMode = 0;
  bool hasReadMe = false;
  bool showLicense = false;
  SaverSettings saverSettings;
};

InstallerWindowState& installerWindowState();
