// How codes become text: each composition against the exact catalogue texts.
#include <gtest/gtest.h>

#include <string>

#include "installer/catalogue.h"
#include "installer/messages.h"
#include "tests/support/case_name.h"

namespace {

const std::string kPrefix = "Installation Error: ";
const std::string kPrivileges =
    "Insufficient user account privileges.\r\n\r\nThe current user account has insufficient privileges to "
    "install screen savers. Please contact your system administrator for help in performing this installation.";
const std::string kCannotReplace =
    "Screen saver cannot be replaced.\r\n\r\nPlease close the screen saver control panel and try again. If the "
    "install fails again, you may have insufficient privileges to install screen savers. Please contact your "
    "system administrator for assistance.";

TEST(DecimalText, SignAndNoPadding) {
  EXPECT_EQ(decimalText(0), "0");
  EXPECT_EQ(decimalText(5), "5");
  EXPECT_EQ(decimalText(-531), "-531");
  EXPECT_EQ(decimalText(2147483647), "2147483647");
  EXPECT_EQ(decimalText(-2147483647 - 1), "-2147483648");
}

struct FileErrorCase {
  const char* name;
  InstallError code;
  std::string file;
  std::string expected;
};

class FileErrorMessage : public testing::TestWithParam<FileErrorCase> {};

TEST_P(FileErrorMessage, Composes) {
  EXPECT_EQ(composeFileErrorMessage(GetParam().code, GetParam().file), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FileErrorMessage,
    testing::Values(
        FileErrorCase{"AccessDenied", 5, "C:\\WINDOWS\\SYSTEM\\x.scr",
                      kPrefix + "C:\\WINDOWS\\SYSTEM\\x.scr\r\n\r\n" + kPrivileges},
        FileErrorCase{"AccessDeniedAtCompletion", 5, "5", kPrefix + "5\r\n\r\n" + kPrivileges},
        FileErrorCase{"SelfCopyNamesCopyOnly", -523, "C:\\TEMP\\KRX1\\temp.dat",
                      kPrefix + "C:\\TEMP\\KRX1\\temp.dat\r\n\r\n" +
                          "Please retry installation. If this message appears again, the installation cannot be "
                          "completed because your user account has limited installation privileges. To complete "
                          "this installation, login with administrative privileges and rerun this installer."},
        FileErrorCase{"SaverBusyIgnoresFile", -38, "-38", kPrefix + kCannotReplace},
        FileErrorCase{"OtherCode", -31, "C:\\TEMP\\KRX1\\temp.dat",
                      kPrefix + "C:\\TEMP\\KRX1\\temp.dat\r\n\r\nProblem with file C:\\TEMP\\KRX1\\temp.dat. "},
        FileErrorCase{"EmptyFileTextKeepsBothLines", -531, "", kPrefix + "\r\n\r\nProblem with file . "},
        FileErrorCase{"SystemNumber", 32, "a.dll", kPrefix + "a.dll\r\n\r\nProblem with file a.dll. "}),
    CaseName());

struct VerdictCase {
  const char* name;
  InstallError code;
  VerdictDialog dialog;
  std::string message;
};

class StartupVerdictText : public testing::TestWithParam<VerdictCase> {};

TEST_P(StartupVerdictText, Composes) {
  StartupVerdict v = composeStartupVerdict(GetParam().code);
  EXPECT_EQ(v.dialog, GetParam().dialog);
  EXPECT_EQ(v.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, StartupVerdictText,
    testing::Values(
        VerdictCase{"NotForNT", -455, VerdictDialog::Error, "This screen saver is not compatible with Windows NT."},
        VerdictCase{"UserAbortIsSilent", -454, VerdictDialog::None, ""},
        VerdictCase{"PositiveWithoutSign", 5, VerdictDialog::Error,
                    "Installer file is corrupted. Velmora Error: 5. "},
        VerdictCase{"NegativeWithSign", -531, VerdictDialog::Error,
                    "Installer file is corrupted. Velmora Error: -531. "},
        VerdictCase{"ShortHeader", -31, VerdictDialog::Error, "Installer file is corrupted. Velmora Error: -31. "}),
    CaseName());

TEST(StartupVerdictText, PlayerRequiredIsInformationEndingWithItsText) {
  StartupVerdict v = composeStartupVerdict(-402);
  EXPECT_EQ(v.dialog, VerdictDialog::Information);
  const std::string head =
      "This screen saver requires the latest Macromedia Flash Player for Internet Explorer.\r\n\r\nPlease "
      "download the free player from ";
  EXPECT_EQ(v.message.substr(0, head.size()), head);
  // The appended text is empty, so the message is exactly the first text.
  EXPECT_EQ(v.message, catalogueText(Text::FlashPlayerRequired));
}

struct CompletionCase {
  const char* name;
  InstallError code;
  std::string status;
  bool report;
  std::string reportFile;
};

class CompletionStatusText : public testing::TestWithParam<CompletionCase> {};

TEST_P(CompletionStatusText, Composes) {
  CompletionStatus s = composeCompletionStatus(GetParam().code);
  EXPECT_EQ(s.statusLine, GetParam().status);
  EXPECT_EQ(s.reportFollows, GetParam().report);
  if (s.reportFollows) {
    EXPECT_EQ(s.reportCode, GetParam().code);
    EXPECT_EQ(s.reportFileText, GetParam().reportFile);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, CompletionStatusText,
    testing::Values(
        CompletionCase{"Success", 0, "Screen Saver Installation and Setup Complete.", false, ""},
        CompletionCase{"AccessDenied", 5, "Installation Aborted: Insufficient user account privileges.", true, "5"},
        CompletionCase{"SaverBusy", -38, "Installation Aborted: Screen saver cannot be replaced.", true, "-38"},
        CompletionCase{"Negative", -13, "Install failed. Error: -13", false, ""},
        CompletionCase{"SystemNumber", 112, "Install failed. Error: 112", false, ""}),
    CaseName());

TEST(StepMessages, ComposeExactly) {
  EXPECT_EQ(composePreparingOutcome(0), "Installation Successful.");
  EXPECT_EQ(composePreparingOutcome(-16), "Install failed. Error: -16");
  EXPECT_EQ(composeOverwriteQuestion("MOVARI"), "MOVARI screen saver already exists. Overwrite?");
  EXPECT_EQ(composeDataFileInUse(), "Velmora Error: Screen saver data file already in use.");
  EXPECT_EQ(composeDataFileOpenProblem("C:\\T\\a.ssd", 2),
            "Problem opening screen saver data file.\r\n\r\nFile: C:\\T\\a.ssd\r\n\r\n2");
  EXPECT_EQ(composeDataFileReadProblem("Access denied"),
            "Velmora Error: Problem reading screen saver data file. Access denied");
  EXPECT_EQ(composeDataFileCloseProblem("C:\\T\\a.ssd", ""), "Problem closing file.\r\n\r\nFile: C:\\T\\a.ssd\r\n");
}

TEST(SystemText, TrimsBlanksControlsAndStopsFromTheEnd) {
  EXPECT_EQ(trimSystemText("Access denied.\r\n"), "Access denied");
  EXPECT_EQ(trimSystemText("Done. . .\t "), "Done");
  EXPECT_EQ(trimSystemText("v1.0 ok"), "v1.0 ok");
  EXPECT_EQ(trimSystemText("\xE9t\xE9"), "\xE9t\xE9");  // ANSI letters stay
  EXPECT_EQ(trimSystemText(" .\r\n"), "");
  EXPECT_EQ(trimSystemText(std::string(300, 'a')), std::string(256, 'a'));
}

TEST(Catalogue, HoldsEveryIdInRangeOnlyOnce) {
  int count = 0;
  for (int id = 65248; id <= 65311; ++id) {
    if (builtinCatalogueText(static_cast<std::uint16_t>(id))) ++count;
  }
  EXPECT_EQ(count, 35);
  EXPECT_EQ(catalogueText(Text::DirSuffix), " dir\\");
  EXPECT_EQ(catalogueText(Text::FlashPlayerRequiredTail), "");
  EXPECT_EQ(builtinCatalogueText(65253), nullptr);
}

}  // namespace
