#include "tools/saverpack/lib/self_path.h"

#include <windows.h>

std::filesystem::path ownExecutablePath() {
  char buffer[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  return std::filesystem::path(std::string(buffer, n));
}
