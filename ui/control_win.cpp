#include "ui/control.h"

#include "ui/control_name.h"

namespace ui {

TControl::TControl(const ControlDesc& desc, HWND parent)
    : kind_(desc.kind), name_(desc.name), parent_(parent), align_(desc.align), colour_(desc.colour) {}

TControl::~TControl() {
  if (window_) {
    RemovePropA(window_.get(), kControlNameProperty);
    SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
  }
  if (nameAtom_ != 0) GlobalDeleteAtom(nameAtom_);
}

void TControl::createWindow(const ControlDesc& desc, const char* windowClass, DWORD style, DWORD exStyle,
                            int id) {
  style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (desc.visible) style |= WS_VISIBLE;
  if (!desc.enabled) style |= WS_DISABLED;
  const Bounds& b = desc.bounds;
  window_.reset(CreateWindowExA(exStyle, windowClass, desc.caption, style, b.left, b.top, b.width, b.height,
                                parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr));
  if (!window_) return;
  SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // The name lets a test driver in another process find the control.
  nameAtom_ = GlobalAddAtomA(desc.name);
  if (nameAtom_ != 0) {
    SetPropA(window_.get(), kControlNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(nameAtom_)));
  }
}

TControl* TControl::fromHandle(HWND window) {
  if (window == nullptr || GetPropA(window, kControlNameProperty) == nullptr) return nullptr;
  return reinterpret_cast<TControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

Bounds TControl::bounds() const {
  RECT r{};
  GetWindowRect(window_.get(), &r);
  MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TControl::setBounds(const Bounds& b) {
  SetWindowPos(window_.get(), nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TControl::visible() const {
  return (GetWindowLongA(window_.get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::setVisible(bool visible) {
  ShowWindow(window_.get(), visible ? SW_SHOWNA : SW_HIDE);
}

bool TControl::enabled() const {
  return IsWindowEnabled(window_.get()) != FALSE;
}

void TControl::setEnabled(bool enabled) {
  EnableWindow(window_.get(), enabled ? TRUE : FALSE);
}

std::string TControl::text() const {
  const int length = GetWindowTextLengthA(window_.get());
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(window_.get(), text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void TControl::setText(const std::string& text) {
  SetWindowTextA(window_.get(), text.c_str());
}

namespace {
int systemColourIndex(SystemColour colour) {
  switch (colour) {
    case SystemColour::ButtonFace:
      return COLOR_BTNFACE;
    case SystemColour::Window:
      return COLOR_WINDOW;
    case SystemColour::WindowText:
      return COLOR_WINDOWTEXT;
    case SystemColour::White:
      break;
  }
  return -1;
}
}  // namespace

COLORREF colourValue(SystemColour colour) {
  const int index = systemColourIndex(colour);
  return index < 0 ? RGB(255, 255, 255) : GetSysColor(index);
}

HBRUSH colourBrush(SystemColour colour) {
  const int index = systemColourIndex(colour);
  return index < 0 ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)) : GetSysColorBrush(index);
}

}  // namespace ui
