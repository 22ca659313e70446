#pragma once
// The font a form resource names, made for the screen.
#include <windows.h>

#include "ui/form_desc.h"

namespace ui {

// The caller owns the font (UniqueFont).
HFONT createFont(const FontDesc& desc);

}  // namespace ui
