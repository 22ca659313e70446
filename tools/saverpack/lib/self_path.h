#pragma once
// The running program's own file, to find the files that travel with it.
#include <filesystem>

std::filesystem::path ownExecutablePath();  // empty when the platform does not say
