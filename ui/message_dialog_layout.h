#pragma once
// Where the parts of a message dialog go, in pixels, from the size of its
// text and the number of its buttons.
#include "ui/form_desc.h"

namespace ui {

struct MessageDialogLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  Bounds icon;
  Bounds text;
  // Buttons left to right, all of one size.
  int buttonsLeft = 0;
  int buttonsTop = 0;
  int buttonWidth = 0;
  int buttonHeight = 0;
  int buttonSpacing = 0;
};

MessageDialogLayout layOutMessageDialog(int textWidth, int textHeight, int buttonCount);

}  // namespace ui
