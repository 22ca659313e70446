// The window layer's message dialogs, shown by a probe program and looked at
// and answered through the UI driver as a person would.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tools/uidriver/uidriver.h"
#include "ui/message_dialog.h"

namespace {
using ui::DialogButtons;
using ui::DialogKind;
using ui::DialogResult;

enum class Answer { Button, CloseBox, Escape };

struct DialogCase {
  const char* name;
  DialogKind kind;
  DialogButtons buttons;
  const char* title;
  std::vector<std::string> captions;
  Answer answer;
  const char* button;  // for Answer::Button
  DialogResult expected;
};

const DialogCase kCases[] = {
    {"ErrorHasOneAbortButton", DialogKind::Error, DialogButtons::Abort, "Error", {"Abort"}, Answer::Button, "Abort",
     DialogResult::Abort},
    {"InformationOk", DialogKind::Information, DialogButtons::Ok, "Information", {"OK"}, Answer::Button, "OK",
     DialogResult::Ok},
    {"InformationWithOneAbortButton", DialogKind::Information, DialogButtons::Abort, "Information", {"Abort"},
     Answer::Button, "Abort", DialogResult::Abort},
    {"ConfirmOk", DialogKind::Confirmation, DialogButtons::OkCancel, "Confirm", {"OK", "Cancel"}, Answer::Button,
     "OK", DialogResult::Ok},
    {"ConfirmCancel", DialogKind::Confirmation, DialogButtons::OkCancel, "Confirm", {"OK", "Cancel"},
     Answer::Button, "Cancel", DialogResult::Cancel},
    {"ConfirmOkCancelClosedIsCancel", DialogKind::Confirmation, DialogButtons::OkCancel, "Confirm",
     {"OK", "Cancel"}, Answer::CloseBox, "", DialogResult::Cancel},
    {"ConfirmYes", DialogKind::Confirmation, DialogButtons::YesNo, "Confirm", {"Yes", "No"}, Answer::Button, "Yes",
     DialogResult::Yes},
    {"ConfirmNo", DialogKind::Confirmation, DialogButtons::YesNo, "Confirm", {"Yes", "No"}, Answer::Button, "No",
     DialogResult::No},
    {"ConfirmYesNoClosedIsNo", DialogKind::Confirmation, DialogButtons::YesNo, "Confirm", {"Yes", "No"},
     Answer::CloseBox, "", DialogResult::No},
    {"ConfirmYesNoEscapeIsNo", DialogKind::Confirmation, DialogButtons::YesNo, "Confirm", {"Yes", "No"},
     Answer::Escape, "", DialogResult::No},
};

class MessageDialog : public ::testing::TestWithParam<DialogCase> {};

TEST_P(MessageDialog, ShowsItsKindAndAnswersWithTheButtonPressed) {
  const DialogCase& c = GetParam();
  const std::string text = "Installation Error: C:\\x\\temp.dat\r\n\r\nProblem with file C:\\x\\temp.dat. ";
  const std::string commandLine = "\"" + uidriver::windowsPath(SAVER_DIALOG_PROBE) + "\" " +
                                  std::to_string(static_cast<int>(c.kind)) + " " +
                                  std::to_string(static_cast<int>(c.buttons)) + " \"" + text + "\"";
  auto probe = uidriver::Process::start(commandLine);
  ASSERT_TRUE(probe.has_value());

  const auto dialog = uidriver::waitForDialog(uidriver::kDefaultTimeoutMs, probe->id());
  ASSERT_TRUE(dialog.has_value()) << "no dialog came up";
  EXPECT_EQ(dialog->title, c.title);
  EXPECT_EQ(dialog->buttons, c.captions);
  EXPECT_EQ(dialog->text, text);
  EXPECT_TRUE(dialog->hasIcon);

  switch (c.answer) {
    case Answer::Button:
      ASSERT_TRUE(uidriver::clickButton(dialog->handle, c.button));
      break;
    case Answer::CloseBox:
      uidriver::closeWindow(dialog->handle);
      break;
    case Answer::Escape:
      PostMessageA(uidriver::findButton(dialog->handle, c.captions[0]), WM_KEYDOWN, VK_ESCAPE, 0);
      break;
  }
  const auto exitCode = probe->waitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "the dialog did not close";
  EXPECT_EQ(*exitCode, 100u + static_cast<DWORD>(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Dialogs, MessageDialog, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DialogCase>& param) { return param.param.name; });
}  // namespace
