#include "ui/label.h"

namespace ui {

namespace {
DWORD labelStyle(const ControlDesc& desc) {
  DWORD style = SS_LEFT;
  if (desc.alignment == TextAlign::Center) style = SS_CENTER;
  if (desc.alignment == TextAlign::Right) style = SS_RIGHT;
  // A static control centres one line of text vertically with this style.
  if (desc.layout == TextLayout::Center) style |= SS_CENTERIMAGE;
  return style;
}
}  // namespace

TLabel::TLabel(const ControlDesc& desc, HWND parent, int id) : TControl(desc, parent) {
  createWindow(desc, "STATIC", labelStyle(desc), 0, id);
}

}  // namespace ui
