#pragma once
// The result of every installer step: 0 success, the program's own negative
// codes below, or an operating-system error number passed through unchanged.
#include <cstdint>

using InstallError = std::int32_t;

namespace err {
inline constexpr InstallError Success = 0;

// File-layer numbers for a short block read and a short block write.
inline constexpr InstallError ReadBeyondEnd = 100;
inline constexpr InstallError DiskWriteError = 101;
inline constexpr InstallError AccessDenied = 5;

inline constexpr InstallError GeneralFailure = -1;
inline constexpr InstallError OutOfMemory = -7;
inline constexpr InstallError EntryOutOfRange = -12;
inline constexpr InstallError SizeMismatch = -13;
inline constexpr InstallError DataFileNotOpen = -15;
inline constexpr InstallError FileNotFound = -16;
inline constexpr InstallError ReadShort = -30;
inline constexpr InstallError HeaderReadShort = -31;
inline constexpr InstallError FileBusy = -32;
inline constexpr InstallError CompressorUnavailable = -35;
inline constexpr InstallError SaverBusy = -38;
inline constexpr InstallError PlayerInstallerMissing = -401;
inline constexpr InstallError PlayerRequired = -402;
inline constexpr InstallError PlayerControlFailed = -403;
inline constexpr InstallError MovieBadSignature = -404;
inline constexpr InstallError MovieVersionTooNew = -405;
inline constexpr InstallError MovieVersionTooOld = -406;
inline constexpr InstallError PlayerStopFailed = -409;
inline constexpr InstallError PlayerTooOldForMovie = -410;
inline constexpr InstallError UserAbort = -454;
inline constexpr InstallError NotForWindowsNT = -455;
inline constexpr InstallError SelfCopyFailed = -523;
inline constexpr InstallError EmptySlot = -531;
inline constexpr InstallError MovieCopyFailed = -532;
inline constexpr InstallError UninstallEntryNotWritten = -2201;
inline constexpr InstallError UninstallEntryNotRemoved = -2202;

// Codes of our own for input the original left unchecked. Values are chosen
// away from the inherited ones so that they can never be mistaken for them.
// (Add new ones here, with a name, and to errorName() in install_error.cpp.)

// Files and the data file (package/, system/VLM_FileUtils).
inline constexpr InstallError UnsafeEntryName = -1001;    // a data-file name that is absolute or climbs out with ".."
inline constexpr InstallError DataFileCorrupt = -1002;    // a data file whose entry count is below 0 or above 1,010
inline constexpr InstallError EntryKindInvalid = -1003;   // a package entry whose kind selects no folder

// Movie reading (flash/swf_*): a movie that gives one of these cannot be played.
inline constexpr InstallError MovieReadBeyondEnd = -1101;       // a field or tag runs past the end of the file
inline constexpr InstallError MovieBackgroundTooShort = -1102;  // SetBackgroundColor body under 3 bytes
inline constexpr InstallError MovieCommandWindowEmpty = -1103;  // nothing left after the background tag
inline constexpr InstallError MovieTagTooLong = -1104;          // a long tag length of 2^31 or more
inline constexpr InstallError MovieIOError = -1105;             // reading the movie or its temporary copy failed
inline constexpr InstallError MovieInflateError = -1106;        // the compressed movie is not valid zlib data
}  // namespace err

// The enumerator name of a code ("SizeMismatch"), or nullptr for codes that
// have none (system error numbers).
const char* errorName(InstallError code);
