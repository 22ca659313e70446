#include "tools/saverpack/lib/compression.h"

std::optional<Method> parseMethod(std::string_view word) {
  if (word == "auto") return Method::Auto;
  if (word == "stored") return Method::Stored;
  if (word == "binary") return Method::Binary;
  if (word == "ascii") return Method::Ascii;
  return std::nullopt;
}

std::optional<dcl::Level> parseLevel(std::string_view word) {
  if (word == "default") return dcl::Level::Default;
  if (word == "best") return dcl::Level::Best;
  return std::nullopt;
}

bool isDictionarySize(long long n) { return n == 1024 || n == 2048 || n == 4096; }

std::string methodName(Method m) {
  switch (m) {
    case Method::Auto: return "auto";
    case Method::Stored: return "stored";
    case Method::Binary: return "binary";
    case Method::Ascii: return "ascii";
  }
  return "?";
}

bool looksLikeText(const unsigned char* bytes, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char c = bytes[i];
    if (c == '\t' || c == '\n' || c == '\r') continue;
    if (c < 0x20 || c > 0x7e) return false;
  }
  return length > 0;
}
