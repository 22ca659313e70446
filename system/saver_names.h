#pragma once
// The names the user sees, derived from the saver's name: the entry in the
// list of installed programs and the installer window's caption.
#include <string>
#include <string_view>

// True when `text` contains `word`, comparing the letters A to Z without
// regard to case and every other byte exactly (names are in the ANSI code
// page, whose other letters the installer does not fold).
bool containsIgnoringAsciiCase(std::string_view text, std::string_view word);

// True when the name contains "screen saver", "screensaver" or "saver" in
// any letter case.
bool speaksOfScreenSaver(std::string_view saverName);

// The name itself when it speaks of a screen saver, otherwise the name
// followed by " Screen Saver".
std::string makeDisplayName(const std::string& saverName);

// "Install: <name>" when the name speaks of a screen saver or contains the
// catalogue's "Screen Saver", otherwise "Install Screen Saver: <name>".
std::string makeInstallCaption(const std::string& saverName);
