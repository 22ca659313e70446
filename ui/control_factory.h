#pragma once
// Makes the control class that a table row's kind names.
#include <memory>

#include "ui/control.h"

namespace ui {

std::unique_ptr<TControl> createControl(const ControlDesc& desc, HWND parent, int id);

}  // namespace ui
