#pragma once
// The package directory as read at start-up and the paths derived from it.
// One per process; filled by the start-up steps and read-only afterwards
// (slot 3's name is the one field rewritten in memory).
#include <string>

#include "package/package_format.h"

struct PackageState {
  PackageDirectory packageDirectory;
  std::string exePath;           // the running installer
  std::string packageCopyPath;   // tempFolder + "temp.dat"
  std::string saverName;         // header name up to its first zero byte
  std::string installFolder;     // systemFolder + saverName + " dir\"
  std::string dataFileTempPath;  // tempFolder + slot 8's name
};

PackageState& packageState();
