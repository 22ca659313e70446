#pragma once
// Writes package entries out as files, each into the folder its kind
// selects, copied as stored or expanded through the compressor library.
// Everything reads the package copy (packageCopyPath), never the running
// executable.
#include <string>

#include "installer/install_error.h"

class WinFile;

// One slot (0 to 10) from the open package file. With `withStatus` the
// status line reads "Writing screen saver files..." and the progress bar
// steps once. An old target that cannot be removed counts as written (0),
// except a ".scr" that stays (-38). Failures of ".dll" targets are reported,
// those of other targets only returned (a target that cannot be created is
// always reported); an empty slot is -531, reported with an empty file name.
InstallError extractEntry(WinFile& packageFile, int slot, bool withStatus);

// Start-up extractors, each opening the package copy for its own slot; an
// empty slot gives -531 without a report. The picture's name takes the
// extension ".BMP" (mode 1) or ".jpg" (mode 8) first, in the directory too.
InstallError extractInstallerPicture();  // slot 3
InstallError extractReadMe();            // slot 5
InstallError extractLicenseText();       // slot 4
InstallError extractFlashInstaller();    // slot 2

// The installation's entries: slots 5 (when the window's read-me flag is
// set) or 6 up to 10, stopping at the first failure or a cancel request.
InstallError extractInstallEntries(const std::string& packagePath);

// Copies the licence text (when it was shown) and the read-me (when the
// package has one) from the working folder into the install folder.
InstallError copyDocuments();
