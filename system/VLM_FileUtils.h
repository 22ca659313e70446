#pragma once
// The folders the installer works with and the file operations every
// subsystem uses: deleting the way an installer must (attributes cleared,
// busy files retried, a busy screen saver told apart), copying over, folder
// chains, version numbers, and the earlier copy of a screen saver.
//
// Results are InstallError values: 0, the program's own codes, or the
// system's error numbers. Nothing here shows a message except the overwrite
// question of checkExistingSaver.
#include <cstdint>
#include <string>

#include "installer/install_error.h"

// The three process-wide folders, each ending with a backslash; empty until
// prepareFolders has run, read-only afterwards.
const std::string& windowsFolder();
const std::string& systemFolder();
const std::string& tempFolder();

// Sets all three: WINDIR, the system folder, and a fresh "KRX<n>" folder
// below TEMP. 0, or the system's error number when no working folder could
// be made.
InstallError prepareFolders();

// WINDIR with a trailing backslash (the system's Windows folder when WINDIR
// is unset or empty).
std::string getWindowsFolder();
// The system folder with a trailing backslash.
std::string getSystemFolder();

// Creates TEMP\<prefix><n> for the smallest n from 1 to 1000 that does not
// exist yet. On success `folder` is that folder with a backslash and the
// result 0. Otherwise `folder` is TEMP\<prefix> and the result the system's
// last error number (183, "already exists", when all 1000 were taken).
InstallError makeTempFolder(const std::string& prefix, std::string& folder);

// 0 when the file is gone (or never was); -32 when it stays. A second
// attempt follows with the attributes set to normal.
InstallError removeFile(const std::string& path);

// Up to `attempts` removals without a pause: 0, -32, -38 for a ".scr" file
// (any letter case) that stays, or -1 for fewer than one attempt.
InstallError removeFileRetrying(const std::string& path, int attempts);

// Removes a folder (ending with a backslash) with everything in it: 0 (also
// when it does not exist), -32 for a file that stays, -1 for an empty path or
// a folder that cannot be removed (a subfolder that stays shows as this).
InstallError removeFolderTree(const std::string& folder);

// Copies over an existing target after clearing both files' attributes.
// On false the caller takes GetLastError for the reason.
bool copyFileOver(const std::string& source, const std::string& target);

// Creates a folder and every missing parent; failures are not reported.
void createFolderPath(const std::string& folder);

// The high words of the file version's most and least significant parts
// (7 and 19 for 7.0.19.0). Leaves both unchanged without a version resource.
void readFileVersion(const std::string& path, std::int32_t& major, std::int32_t& release);

// A saver N in folder F is the module F + N + ".scr" and the folder
// F + N + " dir\".
bool saverExists(const std::string& folder, const std::string& saverName);
InstallError removeSaver(const std::string& folder, const std::string& saverName);
InstallError createSaverFolder(const std::string& folder, const std::string& saverName);

// Finds an earlier copy of the saver in `targetFolder` or the Windows folder;
// when `ask` is set, asks saverName + question (OK/Cancel) first: Cancel gives
// -454. Removes what it can of the old copies and creates the saver's folder
// in the target folder: 0 or the system's error number.
InstallError checkExistingSaver(const std::string& targetFolder, const std::string& saverName, bool ask,
                                const std::string& question);
