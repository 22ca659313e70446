#include <windows.h>

#include "installer/catalogue.h"

std::string catalogueText(Text id) {
  // Catalogue texts are short; the longest is well under 512 characters.
  char buffer[1024];
  int n = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}
