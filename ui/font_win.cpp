#include "ui/font.h"

namespace ui {

HFONT createFont(const FontDesc& desc) {
  return CreateFontA(desc.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, desc.name);
}

}  // namespace ui
