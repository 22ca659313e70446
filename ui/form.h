#pragma once
// A top-level window made from a FormDesc and a control table. Derived forms
// pass their tables in and override the handlers they use.
#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"
#include "ui/form_desc.h"
#include "ui/handles.h"

namespace ui {

class TForm {
 public:
  TForm(const FormDesc& desc, std::span<const ControlDesc> controls);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Creates the window (owned by owner) and its controls, runs formCreate,
  // then shows the window when the description says it is visible.
  // TApplication::createForm calls it.
  void create(HWND owner);

  HWND handle() const { return window_.get(); }

  // Outer geometry in screen pixels.
  int left() const;
  int top() const;
  int width() const;
  int height() const;
  int clientWidth() const;
  int clientHeight() const;
  void setLeft(int left);
  void setTop(int top);
  void setPosition(int left, int top);

  std::string caption() const;
  void setCaption(const std::string& caption);

  bool visible() const;
  void show();
  void hide();

  // Asks formCloseQuery, then closes: the main form ends the application,
  // any other form is hidden.
  void close();

  TControl* findControl(std::string_view name) const;
  // The named control as its class; the table must hold it with that kind.
  template <typename Control>
  Control& control(std::string_view name) const {
    TControl* found = findControl(name);
    if (found == nullptr || found->kind() != Control::kKind) controlMissing(name);
    return static_cast<Control&>(*found);
  }

 protected:
  // Handlers in the manner of the form resources: creation, the close
  // question and the close itself.
  virtual void formCreate() {}
  virtual bool formCloseQuery() { return true; }
  virtual void formClose() {}

  // Messages not handled here go to handleMessage first; return true when
  // the message was handled and result is set.
  virtual bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void createControls();
  void alignControls(HWND container);
  [[noreturn]] static void controlMissing(std::string_view name);

  FormDesc desc_;
  std::span<const ControlDesc> table_;
  UniqueFont font_;
  UniqueWindow window_;
  // Destroyed before the window, whose destruction takes their windows.
  std::vector<std::unique_ptr<TControl>> controls_;
};

}  // namespace ui
