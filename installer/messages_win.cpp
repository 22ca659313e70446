#include <windows.h>

#include "installer/messages.h"
#include "ui/message_dialog.h"

std::string systemErrorText(InstallError code) {
  // The program's own codes are negative; the system has no text for them.
  if (code < 0) return "";
  char buffer[1024];
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                                 sizeof buffer, nullptr);
  return trimSystemText(std::string(buffer, n < sizeof buffer ? n : 0));
}

void reportFileError(InstallError code, const std::string& fileText) {
  ui::messageDlg(composeFileErrorMessage(code, fileText), ui::DialogKind::Error, ui::DialogButtons::Abort);
}

void showStartupVerdict(InstallError code) {
  const StartupVerdict verdict = composeStartupVerdict(code);
  switch (verdict.dialog) {
    case VerdictDialog::None:
      return;
    case VerdictDialog::Error:
      ui::messageDlg(verdict.message, ui::DialogKind::Error, ui::DialogButtons::Abort);
      return;
    case VerdictDialog::Information:
      ui::messageDlg(verdict.message, ui::DialogKind::Information, ui::DialogButtons::Ok);
      return;
  }
}
