#pragma once
// Real files for the file tests: a private TEMP for the test program (a
// folder below the prefix's own TEMP, removed at the end), and small
// helpers that read and write files without the code under test.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace scratch {
// The test program's TEMP (with a trailing backslash), set at start-up.
const std::string& tempBase();

void writeFile(const std::string& path, const std::string& bytes);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string readFile(const std::string& path);  // empty when missing
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
DWORD attributes(const std::string& path);  // INVALID_FILE_ATTRIBUTES when missing
void makeFolder(const std::string& path);
// Every file below a folder, as paths relative to it ("sub\\name"), sorted.
std::vector<std::string> listFiles(const std::string& folder);
// Runs a program and waits for it: its exit code, or -1 when it cannot run.
int run(const std::string& commandLine);
// Removes a file or a folder tree whatever its attributes.
void removeAll(const std::string& path);
}  // namespace scratch
