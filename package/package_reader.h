#pragma once
// Start-up reading of the package: the installer copies its own file into
// the working folder as "temp.dat", reads the header and directory from
// that copy in one 3,152-byte read, writes the compressor library (slot 1)
// out at once, and derives the saver's paths. Fills packageState(); runs
// after prepareFolders, in the order below.
#include "installer/install_error.h"

// exePath from the running module; packageCopyPath = tempFolder + "temp.dat".
void setInstallerPaths();

// A fresh copy of exePath at packageCopyPath. 0, -32 when an old copy stays,
// or the system's number when the copy fails; any failure is also reported
// (as -523, naming the copy).
InstallError copyInstallerToTemp();

// Reads the directory at packageOffset of the copy and extracts slot 1.
// -31 (reported) when the copy is too short for it; a copy that cannot be
// opened gives the system's number, reported naming the copy; otherwise
// what extracting slot 1 gives (-531 for an empty slot).
InstallError readPackageDirectory();

// saverName, installFolder and dataFileTempPath from the directory.
void setSaverPaths();
