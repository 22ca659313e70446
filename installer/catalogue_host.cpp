#include "installer/catalogue.h"

std::string catalogueText(Text id) {
  const char* text = builtinCatalogueText(static_cast<std::uint16_t>(id));
  return text ? text : "";
}
