#pragma once
// A label: one line of text in the parent's colour, aligned as its table row
// says (for example centred both ways in a client-aligned label).
#include "ui/control.h"

namespace ui {

class TLabel : public TControl {
 public:
  static constexpr ControlKind kKind = ControlKind::Label;

  TLabel(const ControlDesc& desc, HWND parent, int id);

  std::string caption() const { return text(); }
  void setCaption(const std::string& caption) { setText(caption); }
};

}  // namespace ui
