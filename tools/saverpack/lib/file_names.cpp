#include "tools/saverpack/lib/file_names.h"

#include <array>
#include <cstdio>

#include "package/data_file_format.h"

namespace {

bool isDeviceName(std::string_view name) {
  // Windows opens a device for these whatever extension follows.
  std::string base = lowerAscii(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static constexpr std::array<std::string_view, 4> fixed = {"con", "prn", "aux", "nul"};
  for (std::string_view d : fixed)
    if (base == d) return true;
  return base.size() == 4 && (base.starts_with("com") || base.starts_with("lpt")) && base[3] >= '1' &&
         base[3] <= '9';
}

}  // namespace

std::string fileNameProblem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20) return "it holds a control character";
    if (c == '\\' || c == '/') return "it holds a path separator";
    if (std::string_view(":*?\"<>|").find(ch) != std::string_view::npos)
      return std::string("it holds '") + ch + "', which Windows does not allow in file names";
  }
  if (name.find_first_not_of(". ") == std::string_view::npos) return "it is only dots and blanks";
  if (isDeviceName(name)) return "it is a Windows device name";
  return "";
}

std::string relativeNameProblem(std::string_view name) {
  if (name.empty()) return "the name is empty";
  if (!isContainedRelativeName(name)) return "it leads outside its folder";
  std::size_t begin = 0;
  for (;;) {
    const std::size_t end = name.find_first_of("\\/", begin);
    const std::string_view part = name.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
    const std::string why = fileNameProblem(part);
    if (!why.empty()) return why + (part.size() == name.size() ? "" : " (in '" + std::string(part) + "')");
    if (end == std::string_view::npos) return "";
    begin = end + 1;
  }
}

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) { return lowerAscii(a) == lowerAscii(b); }

std::string printableName(std::string_view name) {
  std::string out;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c > 0x7e) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += ch;
    }
  }
  return out;
}

std::string quotedName(std::string_view name) {
  return "'" + printableName(name) + "'";
}
