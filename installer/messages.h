#pragma once
// How a result code becomes text: the file-error report, the start-up
// verdict, the completion status line and the messages single steps compose.
// Composition is portable; showing the dialogs is messages_win.cpp's job.
#include <string>

#include "installer/install_error.h"

// The value in decimal, with a minus sign for negative values (-531).
std::string decimalText(InstallError code);

// The text reportFileError shows for a code and a file text.
std::string composeFileErrorMessage(InstallError code, const std::string& fileText);

enum class VerdictDialog { None, Error, Information };

struct StartupVerdict {
  VerdictDialog dialog = VerdictDialog::None;
  std::string message;
};

// The one message that ends a failed start-up (code is non-zero).
StartupVerdict composeStartupVerdict(InstallError code);

struct CompletionStatus {
  std::string statusLine;
  // 5 and -38 add a file-error report after the status line is set.
  bool reportFollows = false;
  InstallError reportCode = 0;
  std::string reportFileText;
};

// The installer window's status line for the code that ends a run.
CompletionStatus composeCompletionStatus(InstallError code);

// The preparing window's text after an installation it displayed.
std::string composePreparingOutcome(InstallError code);

// Messages of single steps.
std::string composeOverwriteQuestion(const std::string& saverName);
std::string composeDataFileInUse();
std::string composeDataFileOpenProblem(const std::string& path, InstallError code);
std::string composeDataFileReadProblem(const std::string& systemText);
std::string composeDataFileCloseProblem(const std::string& path, const std::string& systemText);

// Trims what systemErrorText removes from the end of a system message:
// blanks, control characters and full stops. Also keeps at most 256
// characters.
std::string trimSystemText(std::string text);

// --- Windows only (messages_win.cpp) ---------------------------------------

// The system's message text for an error number, trimmed; empty when the
// system has none (every negative code).
std::string systemErrorText(InstallError code);

// Shows composeFileErrorMessage in an error dialog ("Abort").
void reportFileError(InstallError code, const std::string& fileText);

// Shows the start-up verdict for a non-zero code (or nothing for -454).
void showStartupVerdict(InstallError code);
