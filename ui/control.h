#pragma once
// The base of every control of our forms: a child window created from one
// row of a form's control table.
#include <windows.h>

#include <string>

#include "ui/form_desc.h"
#include "ui/handles.h"

namespace ui {

class TControl {
 public:
  TControl(const ControlDesc& desc, HWND parent);
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  HWND handle() const { return window_.get(); }
  HWND parentHandle() const { return parent_; }
  Align align() const { return align_; }
  SystemColour colour() const { return colour_; }

  // Where controls of a container are created; nullptr for plain controls.
  virtual HWND containerHandle() const { return nullptr; }

  // Geometry relative to the parent's client area.
  Bounds bounds() const;
  void setBounds(const Bounds& bounds);

  bool visible() const;
  void setVisible(bool visible);
  bool enabled() const;
  void setEnabled(bool enabled);

  std::string text() const;
  void setText(const std::string& text);

  // The control of ours behind a child window, or nullptr.
  static TControl* fromHandle(HWND window);

 protected:
  // Creates the window; control classes call it from their constructors.
  void createWindow(const ControlDesc& desc, const char* windowClass, DWORD style, DWORD exStyle, int id);

 private:
  ControlKind kind_;
  std::string name_;
  HWND parent_;
  Align align_;
  SystemColour colour_;
  ATOM nameAtom_ = 0;
  UniqueWindow window_;
};

// Colour values of the system colours the tables name.
COLORREF colourValue(SystemColour colour);
HBRUSH colourBrush(SystemColour colour);

}  // namespace ui
