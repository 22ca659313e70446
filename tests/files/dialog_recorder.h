#pragma once
// Stands in for the window layer's message dialogs in tests that link it
// instead of the real ones: every dialog is recorded, and answered with the
// next scripted answer, or with the first button of its set.
#include <string>
#include <vector>

#include "ui/message_dialog.h"

struct RecordedDialog {
  std::string text;
  ui::DialogKind kind;
  ui::DialogButtons buttons;
};

namespace dialogs {
// Forgets what was shown and scripted.
void reset();
void answerNext(ui::DialogResult answer);
const std::vector<RecordedDialog>& shown();
}  // namespace dialogs
