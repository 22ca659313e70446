#include "system/saver_names.h"

#include "installer/catalogue.h"

namespace {
char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (foldAscii(a[i]) != foldAscii(b[i])) return false;
  }
  return true;
}
}  // namespace

bool containsIgnoringAsciiCase(std::string_view text, std::string_view word) {
  if (word.size() > text.size()) return false;
  for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
    if (equalIgnoringAsciiCase(text.substr(at, word.size()), word)) return true;
  }
  return false;
}

bool speaksOfScreenSaver(std::string_view saverName) {
  constexpr std::string_view kWords[] = {"screen saver", "screensaver", "saver"};
  for (std::string_view word : kWords) {
    if (containsIgnoringAsciiCase(saverName, word)) return true;
  }
  return false;
}

std::string makeDisplayName(const std::string& saverName) {
  if (speaksOfScreenSaver(saverName)) return saverName;
  return saverName + " " + catalogueText(Text::ScreenSaver);
}

std::string makeInstallCaption(const std::string& saverName) {
  const std::string screenSaver = catalogueText(Text::ScreenSaver);
  const std::string install = catalogueText(Text::Install);
  if (speaksOfScreenSaver(saverName) || containsIgnoringAsciiCase(saverName, screenSaver)) {
    return install + ": " + saverName;
  }
  return install + " " + screenSaver + ": " + saverName;
}
