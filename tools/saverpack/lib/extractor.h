#pragma once
// Writes a package's entries out as files, expanded, each under its stored
// name in one folder; with the data file's files too (in "data/" below it,
// with the settings record as "data/saver.dat", as the installer lays them
// out). Never writes outside the folder: names that are not plain file
// names (or, inside the data file, that lead outside) are refused, and no
// path is followed through an existing symbolic link. A damaged entry is
// reported and not written.
#include <filesystem>
#include <string>

#include "tools/saverpack/lib/diagnostics.h"

class ByteSource;
class Progress;

struct ExtractCounts {
  int files = 0;
};

ExtractCounts extractPackage(ByteSource& source, const std::string& file, const std::filesystem::path& folder,
                             bool withData, Diagnostics& out, Progress* progress);

// A bare data file. `installerMovie` is the file an alias entry 1 copies
// (the package's "installer.swf"); empty when there is none.
ExtractCounts extractDataFile(ByteSource& source, const std::string& where, const std::filesystem::path& folder,
                              const std::filesystem::path& installerMovie, Diagnostics& out, Progress* progress);
