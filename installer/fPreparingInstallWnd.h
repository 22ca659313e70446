#pragma once
// The small "preparing" window: created first, so it is the application's
// main window (closing it ends the program). It shows one centred line of
// text while the installer window's start-up works, and serves as the status
// display of an installation that runs without the installer window.
#include <string>

#include "ui/form.h"

class TpreparingInstallWnd : public ui::TForm {
 public:
  TpreparingInstallWnd();

  // Sets the label, then handles pending messages so that the text is
  // painted even while the caller keeps the thread busy.
  void setMessage(const std::string& text);
  void moveOffScreen();
  // Centres the window on the primary display, then handles pending
  // messages.
  void centerOnScreen();

 protected:
  void formCreate() override;
};

// Set by the program entry; other windows reach the preparing window here.
extern TpreparingInstallWnd* preparingInstallWnd;
