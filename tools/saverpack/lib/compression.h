#pragma once
// How one file is stored: imploded in a given literal mode and dictionary
// size, stored as it is, or (the default) chosen per file.
#include <optional>
#include <string>
#include <string_view>

#include "dcl/dcl.h"

enum class Method {
  Auto,    // implode (ASCII mode for text, else binary); stored when that does not shrink it
  Stored,
  Binary,  // implode, binary literals, whatever the result
  Ascii,   // implode, ASCII literals, whatever the result
};

struct Compression {
  Method method = Method::Auto;
  unsigned dictionarySize = 4096;
  dcl::Level level = dcl::Level::Default;
};

std::optional<Method> parseMethod(std::string_view word);      // auto, stored, binary, ascii
std::optional<dcl::Level> parseLevel(std::string_view word);   // default, best
bool isDictionarySize(long long n);                            // 1024, 2048, 4096
std::string methodName(Method m);

// Text is what the ASCII literal mode is made for: printable ASCII, tab,
// CR and LF only.
bool looksLikeText(const unsigned char* bytes, std::size_t length);
