#pragma once
// Form layouts as data: one FormDesc for the window and a table of
// ControlDesc rows, one per control, in the order the controls are created.
// The rows mirror the form resources the windows are designed from: kind,
// name, geometry in pixels and the settings that differ from the defaults.
// New control kinds add a ControlKind value, the settings they need and a
// control class; existing tables stay as they are.
#include <cstdint>

namespace ui {

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class SystemColour : std::uint8_t { ButtonFace, Window, WindowText, White };

// Window borders as the form resources name them.
enum class BorderStyle : std::uint8_t {
  Single,    // fixed size, caption
  Sizeable,  // resizable frame, caption
};

// Which of the caption's boxes a form has; the close box comes with the
// system menu.
enum BorderIcon : std::uint8_t {
  SystemMenu = 1,
  MinimizeBox = 2,
  MaximizeBox = 4,
};

struct FontDesc {
  const char* name = "MS Sans Serif";
  int height = -11;  // 8 point at 96 pixels per inch
};

struct FormDesc {
  const char* name = "";
  const char* caption = "";
  // Left and top in screen pixels; width and height are the outer size, or
  // the client size when clientSize is set.
  Bounds bounds;
  bool clientSize = false;
  BorderStyle border = BorderStyle::Sizeable;
  std::uint8_t borderIcons = SystemMenu | MinimizeBox | MaximizeBox;
  bool alwaysOnTop = false;
  SystemColour colour = SystemColour::ButtonFace;
  FontDesc font;
  bool visible = false;

  // Settings that differ from the defaults, in the manner of a form
  // resource: form("name", {...}).clientSized().bordered(...)...
  constexpr FormDesc clientSized() const { return with(&FormDesc::clientSize, true); }
  constexpr FormDesc bordered(BorderStyle style, std::uint8_t icons) const {
    FormDesc d = *this;
    d.border = style;
    d.borderIcons = icons;
    return d;
  }
  constexpr FormDesc onTop() const { return with(&FormDesc::alwaysOnTop, true); }
  constexpr FormDesc coloured(SystemColour c) const { return with(&FormDesc::colour, c); }
  constexpr FormDesc withFont(FontDesc f) const { return with(&FormDesc::font, f); }
  constexpr FormDesc visibleFromCreation() const { return with(&FormDesc::visible, true); }
  constexpr FormDesc withCaption(const char* text) const { return with(&FormDesc::caption, text); }

 private:
  template <typename Field, typename Value>
  constexpr FormDesc with(Field FormDesc::*field, Value value) const {
    FormDesc d = *this;
    d.*field = value;
    return d;
  }
};

constexpr FormDesc form(const char* name, Bounds bounds) {
  FormDesc d;
  d.name = name;
  d.bounds = bounds;
  return d;
}

enum class ControlKind : std::uint8_t { Label };

// How a control follows its parent's client area.
enum class Align : std::uint8_t {
  None,
  Client,  // fills the parent's client area, also after a resize
};

enum class TextAlign : std::uint8_t { Left, Center, Right };
enum class TextLayout : std::uint8_t { Top, Center };

struct ControlDesc {
  ControlKind kind = ControlKind::Label;
  const char* name = "";
  Bounds bounds;
  // The container control this one sits in; nullptr for the form itself.
  const char* parent = nullptr;
  Align align = Align::None;
  bool visible = true;
  bool enabled = true;
  const char* caption = "";
  SystemColour colour = SystemColour::ButtonFace;
  // Labels.
  TextAlign alignment = TextAlign::Left;
  TextLayout layout = TextLayout::Top;

  // Settings that differ from the defaults:
  // control(kind, "name", {...}).in("panel").aligned(Align::Client)...
  constexpr ControlDesc in(const char* container) const { return with(&ControlDesc::parent, container); }
  constexpr ControlDesc aligned(Align a) const { return with(&ControlDesc::align, a); }
  constexpr ControlDesc hidden() const { return with(&ControlDesc::visible, false); }
  constexpr ControlDesc disabled() const { return with(&ControlDesc::enabled, false); }
  constexpr ControlDesc withCaption(const char* text) const { return with(&ControlDesc::caption, text); }
  constexpr ControlDesc coloured(SystemColour c) const { return with(&ControlDesc::colour, c); }
  constexpr ControlDesc textPlaced(TextAlign a, TextLayout l) const {
    ControlDesc d = *this;
    d.alignment = a;
    d.layout = l;
    return d;
  }

 private:
  template <typename Field, typename Value>
  constexpr ControlDesc with(Field ControlDesc::*field, Value value) const {
    ControlDesc d = *this;
    d.*field = value;
    return d;
  }
};

constexpr ControlDesc control(ControlKind kind, const char* name, Bounds bounds) {
  ControlDesc d;
  d.kind = kind;
  d.name = name;
  d.bounds = bounds;
  return d;
}

}  // namespace ui
