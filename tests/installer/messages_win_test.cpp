// The Windows half of the messages: system error texts and the dialogs that
// reportFileError and the start-up verdict show, read and answered through
// the UI driver from a second thread as a person would.
#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <optional>
#include <string>
#include <vector>

#include "installer/messages.h"
#include "tools/uidriver/uidriver.h"

namespace {
std::string rawSystemText(DWORD code) {
  char buffer[1024];
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                 MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer, nullptr);
  return std::string(buffer, n);
}

TEST(SystemErrorText, IsTheSystemsTextWithoutTrailingStopsAndLineBreaks) {
  for (InstallError code : {2, 5, 32}) {
    const std::string raw = rawSystemText(static_cast<DWORD>(code));
    ASSERT_FALSE(raw.empty()) << code;
    const std::string text = systemErrorText(code);
    EXPECT_FALSE(text.empty()) << code;
    EXPECT_EQ(raw.compare(0, text.size(), text), 0) << code << ": " << text;
    const char last = text.back();
    EXPECT_TRUE(last != '.' && last != ' ' && last != '\r' && last != '\n') << code << ": " << text;
  }
}

TEST(SystemErrorText, ProgramCodesHaveNone) {
  EXPECT_EQ(systemErrorText(-31), "");
  EXPECT_EQ(systemErrorText(-523), "");
}

// Answers the next dialog of this process with the given button while the
// test thread shows it.
std::future<std::optional<uidriver::DialogInfo>> answerLater(const std::string& button) {
  return std::async(std::launch::async,
                    [button] { return uidriver::answerDialog(button, uidriver::kDefaultTimeoutMs, GetCurrentProcessId()); });
}

struct VerdictCase {
  const char* name;
  InstallError code;
  const char* title;
  std::vector<std::string> buttons;
};

class StartupVerdictDialog : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(StartupVerdictDialog, ShowsTheComposedMessageInItsKindOfDialog) {
  const VerdictCase& c = GetParam();
  auto answered = answerLater(c.buttons.front());
  showStartupVerdict(c.code);
  const auto dialog = answered.get();
  ASSERT_TRUE(dialog.has_value()) << "no dialog with a " << c.buttons.front() << " button";
  EXPECT_EQ(dialog->title, c.title);
  EXPECT_EQ(dialog->buttons, c.buttons);
  EXPECT_EQ(dialog->text, composeStartupVerdict(c.code).message);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, StartupVerdictDialog,
    ::testing::Values(VerdictCase{"PlayerRequiredIsInformationOk", -402, "Information", {"OK"}},
                      VerdictCase{"NotForWindowsNTIsAnError", -455, "Error", {"Abort"}},
                      VerdictCase{"OtherCodesAreCorruptInstaller", -31, "Error", {"Abort"}}),
    [](const ::testing::TestParamInfo<VerdictCase>& param) { return param.param.name; });

TEST(StartupVerdictDialogNone, UserAbortShowsNothing) {
  showStartupVerdict(-454);
  EXPECT_FALSE(uidriver::findDialog(GetCurrentProcessId()).has_value());
}

TEST(ReportFileError, ShowsTheReportInAnErrorDialogWithOneAbortButton) {
  auto answered = answerLater("Abort");
  reportFileError(5, "C:\\WINDOWS\\SYSTEM\\Saver.scr");
  const auto dialog = answered.get();
  ASSERT_TRUE(dialog.has_value());
  EXPECT_EQ(dialog->title, "Error");
  EXPECT_EQ(dialog->buttons, std::vector<std::string>{"Abort"});
  EXPECT_EQ(dialog->text, composeFileErrorMessage(5, "C:\\WINDOWS\\SYSTEM\\Saver.scr"));
  EXPECT_TRUE(dialog->hasIcon);
}
}  // namespace
