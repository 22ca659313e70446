#pragma once
// The screen-saver data file (slot 8, extracted to dataFileTempPath): its
// settings record, its directory and the files it holds, written into the
// install folder, and "saver.dat" written beside them. The installation
// calls readSaverSettings, expandDataFile and writeSaverSettings in turn.
//
// The settings record lives in the installer window's state; the directory
// (1,011 slots, 0 unused) and the open file live here. A failed expansion
// leaves the file open and the directory filled.
#include <string>

#include "installer/install_error.h"
#include "package/data_file_format.h"

// Reads the settings record; failures are reported naming the file.
InstallError readSaverSettings();

// "Expanding files...": every named entry into the install folder (alias
// entries copied from the main movie, or from "installer.swf" in the
// working folder for entry 1 when mainMovieMode is 3), then the file is
// closed and the progress bar steps; entry 1 gets the archive attribute.
InstallError expandDataFile();

// Opens the data file and reads the settings and directory. While it is
// open already: the "already in use" box, and 0 without reading anything.
// An entry count below 0 or above 1,010 is refused (-1002). Failures show
// the "Problem opening" box when `showErrors` is set.
InstallError openDataFile(const std::string& path, bool showErrors);

// One stored entry (1 to entryCount) into `folder`: -12 out of range, -15
// while closed, -1001 for a name that leaves the folder, -7, -35, -16, -13,
// -30 for sizes beyond the file, or an I/O error (shown). A file that was
// written is deleted again on failure.
InstallError expandDataFileEntry(const std::string& folder, int entryNumber);

// 0 when closed already; a failure to close is shown.
InstallError closeDataFile();

// "Writing saver data file...": the settings record as installFolder +
// "saver.dat"; failures are reported naming the file.
InstallError writeSaverSettings();

bool dataFileOpen();

// The directory slot as read (0 to 1,010); all zero until openDataFile.
const DataFileEntry& dataFileEntry(int index);
