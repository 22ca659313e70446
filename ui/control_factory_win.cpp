#include "ui/control_factory.h"

#include "ui/label.h"

namespace ui {

std::unique_ptr<TControl> createControl(const ControlDesc& desc, HWND parent, int id) {
  switch (desc.kind) {
    case ControlKind::Label:
      return std::make_unique<TLabel>(desc, parent, id);
  }
  return nullptr;
}

}  // namespace ui
