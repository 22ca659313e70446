#include "installer/catalogue.h"

namespace {
struct Entry {
  std::uint16_t id;
  const char* text;
};

constexpr Entry kCatalogue[] = {
#define CATALOGUE_TEXT(id, name, text) {id, text},
#include "installer/catalogue.def"
#undef CATALOGUE_TEXT
};
}  // namespace

const char* builtinCatalogueText(std::uint16_t id) {
  for (const Entry& e : kCatalogue) {
    if (e.id == id) return e.text;
  }
  return nullptr;
}
