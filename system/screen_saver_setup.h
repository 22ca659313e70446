#pragma once
// Making the installed module the active screen saver, and the entry in the
// system's list of installed programs that lets the user remove it again.
//
// The active screen saver is always set through "system.ini" (section
// "boot", key "SCRNSAVE.EXE") and the system's screen-saver switch, on every
// Windows family. The uninstall entry is the key
//   Software\Microsoft\Windows\CurrentVersion\Uninstall\<saver name>
// with the string values "DisplayName" and "UninstallString", under
// HKEY_LOCAL_MACHINE, or under HKEY_CURRENT_USER when the first refuses.
// None of these operations shows a message.
#include <string>

#include "installer/install_error.h"

// Writes the short path of systemFolder + slot 6's name into "system.ini"
// and switches the screen saver on (a failure of the switch is ignored).
// 0; -16 when the module is not there (nothing is written); the system's
// error number when "system.ini" cannot be written.
InstallError setActiveScreenSaver();

// The same for a given module path and profile file; a profile file without
// a folder is taken from the Windows folder, as the system does.
InstallError setActiveScreenSaverAt(const std::string& modulePath, const char* profileFile);

// Writes the uninstall entry for `saverName`: its display name and the
// command systemFolder + saverName + ".scr /u" (the module's short path on
// Windows 95, 98 and ME when it has one). 0, or -2201 when neither root
// takes the key and its values.
InstallError writeUninstallEntry(const std::string& saverName);

// Deletes both values and the key under HKEY_LOCAL_MACHINE; when that root
// holds no such key or fails, under HKEY_CURRENT_USER. 0, also when neither
// root has the key; -2202 when a value or the key stays.
InstallError removeUninstallEntry(const std::string& saverName);

// True on the Windows 9x platform with version 4.0, 4.10 or 4.90 (95, 98,
// ME); false on NT, on any other version, and when the version is unknown.
bool isWindows9x();

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\" + saverName.
std::string uninstallKeyPath(const std::string& saverName);
