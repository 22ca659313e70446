#pragma once
// Rules for the names a package carries, as Windows will see them when the
// installer appends them to a folder, and as extract uses them on the host.
#include <string>
#include <string_view>

// Why `name` is not a plain file name for a Windows folder, or "" when it
// is one: not empty, no path separators, none of : * ? " < > | or control
// characters, not only dots and blanks, not a device name (CON, NUL, COM1...).
std::string fileNameProblem(std::string_view name);

// The same for a name relative to a folder that may hold sub-folders
// separated by '\' or '/': it must stay inside (isContainedRelativeName)
// and each part must be a plain file name.
std::string relativeNameProblem(std::string_view name);

std::string lowerAscii(std::string_view s);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A quoted name for messages: 'a.bmp', with bytes outside printable ASCII
// written as \xNN.
// Non-printable bytes as \xNN, so that any terminal and JSON reader takes it.
std::string printableName(std::string_view name);
std::string quotedName(std::string_view name);
