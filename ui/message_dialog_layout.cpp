#include "ui/message_dialog_layout.h"

#include <algorithm>

namespace ui {

namespace {
const int kMargin = 12;
const int kIconSize = 32;
const int kIconGap = 15;
const int kButtonGap = 19;
const int kButtonWidth = 75;
const int kButtonHeight = 25;
const int kButtonSpacing = 6;
}  // namespace

MessageDialogLayout layOutMessageDialog(int textWidth, int textHeight, int buttonCount) {
  MessageDialogLayout l;
  l.icon = {kMargin, kMargin, kIconSize, kIconSize};
  const int textLeft = kMargin + kIconSize + kIconGap;
  // A short text sits level with the icon's middle.
  const int textTop = kMargin + std::max(0, (kIconSize - textHeight) / 2);
  l.text = {textLeft, textTop, textWidth, textHeight};
  l.buttonWidth = kButtonWidth;
  l.buttonHeight = kButtonHeight;
  l.buttonSpacing = kButtonSpacing;
  const int buttonsWidth = buttonCount * kButtonWidth + (buttonCount - 1) * kButtonSpacing;
  l.clientWidth = std::max(textLeft + textWidth, kMargin + buttonsWidth) + kMargin;
  l.buttonsLeft = (l.clientWidth - buttonsWidth) / 2;
  l.buttonsTop = std::max(l.icon.top + kIconSize, textTop + textHeight) + kButtonGap;
  l.clientHeight = l.buttonsTop + kButtonHeight + kMargin;
  return l;
}

}  // namespace ui
