#include "tests/files/dialog_recorder.h"

#include <deque>

namespace {
std::vector<RecordedDialog>& record() {
  static std::vector<RecordedDialog> value;
  return value;
}
std::deque<ui::DialogResult>& script() {
  static std::deque<ui::DialogResult> value;
  return value;
}

ui::DialogResult firstButton(ui::DialogButtons buttons) {
  switch (buttons) {
    case ui::DialogButtons::Abort:
      return ui::DialogResult::Abort;
    case ui::DialogButtons::Ok:
    case ui::DialogButtons::OkCancel:
      return ui::DialogResult::Ok;
    case ui::DialogButtons::YesNo:
      return ui::DialogResult::Yes;
  }
  return ui::DialogResult::Abort;
}
}  // namespace

namespace dialogs {
void reset() {
  record().clear();
  script().clear();
}
void answerNext(ui::DialogResult answer) { script().push_back(answer); }
const std::vector<RecordedDialog>& shown() { return record(); }
}  // namespace dialogs

namespace ui {
DialogResult messageDlg(const std::string& text, DialogKind kind, DialogButtons buttons) {
  record().push_back({text, kind, buttons});
  if (script().empty()) return firstButton(buttons);
  const DialogResult answer = script().front();
  script().pop_front();
  return answer;
}
}  // namespace ui
