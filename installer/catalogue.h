#pragma once
// Access to the catalogue of user-visible texts (catalogue.def). On Windows
// the texts come from the executable's own string table; elsewhere from the
// compiled-in list, which is the same list the string table is made from.
#include <cstdint>
#include <string>

enum class Text : std::uint16_t {
#define CATALOGUE_TEXT(id, name, text) name = id,
#include "installer/catalogue.def"
#undef CATALOGUE_TEXT
};

// The text with the given id; empty for an id the catalogue does not hold.
std::string catalogueText(Text id);

// The compiled-in text, whatever the platform (tests compare the string
// table against it); nullptr for an unknown id.
const char* builtinCatalogueText(std::uint16_t id);
