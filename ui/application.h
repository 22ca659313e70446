#pragma once
// The application object: the hidden owner window whose text is the title
// shown in the taskbar, the message loop, and the forms it runs. One per
// process, reached through application().
#include <windows.h>

#include <string>

#include "ui/handles.h"

namespace ui {

class TForm;

// Sees every message the application takes from its queue before it is
// dispatched; setting handled discards the message.
class MessageHook {
 public:
  virtual void onMessage(MSG& message, bool& handled) = 0;

 protected:
  ~MessageHook() = default;
};

class TApplication {
 public:
  // Creates the owner window; call once before creating forms.
  void initialize();

  HWND handle() const { return window_.get(); }
  std::string title() const;
  void setTitle(const std::string& title);

  // Creates the form; the first form created becomes the main form, whose
  // closing ends the application.
  void createForm(TForm& form);
  TForm* mainForm() const { return mainForm_; }

  // One hook at a time; nullptr removes it.
  void setMessageHook(MessageHook* hook) { hook_ = hook; }

  // Handles every pending message, then returns.
  void processMessages();
  // Handles one message, waiting for it when none is pending.
  void handleMessage();
  // Runs the message loop until terminate() is called.
  void run();
  void terminate();
  bool terminated() const { return terminated_; }

  // The modal dialog whose keyboard navigation the loop serves; returns the
  // one it replaces.
  HWND setModalDialog(HWND dialog);

 private:
  bool processMessage();

  UniqueWindow window_;
  TForm* mainForm_ = nullptr;
  MessageHook* hook_ = nullptr;
  HWND modalDialog_ = nullptr;
  bool terminated_ = false;
};

TApplication& application();

}  // namespace ui
