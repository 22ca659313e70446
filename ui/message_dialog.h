#pragma once
// The standard message dialogs: modal, with the kind's title ("Error",
// "Information", "Confirm") and icon, and exactly the buttons asked for.
// Built by us rather than by MessageBox, which cannot show a lone "Abort".
#include <string>

namespace ui {

enum class DialogKind { Error, Information, Confirmation };
enum class DialogButtons { Abort, Ok, OkCancel, YesNo };
enum class DialogResult { Abort, Ok, Cancel, Yes, No };

// Shows the dialog and returns the button pressed. Closing it by its close
// box or Escape answers Cancel (OK/Cancel) or No (Yes/No); a one-button
// dialog closed that way answers its button.
DialogResult messageDlg(const std::string& text, DialogKind kind, DialogButtons buttons);

}  // namespace ui
