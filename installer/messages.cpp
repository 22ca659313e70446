#include "installer/messages.h"

#include <cstdint>

#include "installer/catalogue.h"

namespace {
const char* const kBlankLine = "\r\n\r\n";
}

std::string decimalText(InstallError code) {
  // By hand rather than through printf, which would bring a formatting
  // library into the installer for this one use.
  std::uint32_t magnitude = code < 0 ? 0u - static_cast<std::uint32_t>(code) : static_cast<std::uint32_t>(code);
  char buffer[12];
  char* end = buffer + sizeof buffer;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (code < 0) *--p = '-';
  return std::string(p, end);
}

std::string composeFileErrorMessage(InstallError code, const std::string& fileText) {
  std::string message = catalogueText(Text::InstallationErrorPrefix);
  switch (code) {
    case err::AccessDenied:
      return message + fileText + kBlankLine + catalogueText(Text::InsufficientPrivileges);
    case err::SelfCopyFailed:
      return message + fileText + kBlankLine + catalogueText(Text::RetryInstallation) +
             catalogueText(Text::LoginAsAdministrator);
    case err::SaverBusy:
      return message + catalogueText(Text::SaverCannotBeReplaced);
    default:
      return message + fileText + kBlankLine + catalogueText(Text::ProblemWithFile) + fileText + ". ";
  }
}

StartupVerdict composeStartupVerdict(InstallError code) {
  switch (code) {
    case err::NotForWindowsNT:
      return {VerdictDialog::Error, catalogueText(Text::NotCompatibleWithNT)};
    case err::UserAbort:
      return {VerdictDialog::None, ""};
    case err::PlayerRequired:
      return {VerdictDialog::Information,
              catalogueText(Text::FlashPlayerRequired) + catalogueText(Text::FlashPlayerRequiredTail)};
    default:
      return {VerdictDialog::Error, catalogueText(Text::InstallerCorrupted) + catalogueText(Text::VendorError) +
                                        decimalText(code) + ". "};
  }
}

CompletionStatus composeCompletionStatus(InstallError code) {
  switch (code) {
    case err::Success:
      return {catalogueText(Text::InstallationComplete), false, 0, ""};
    case err::AccessDenied:
      return {catalogueText(Text::AbortedPrivileges), true, code, decimalText(code)};
    case err::SaverBusy:
      return {catalogueText(Text::AbortedSaverBusy), true, code, decimalText(code)};
    default:
      return {catalogueText(Text::InstallFailedError) + decimalText(code), false, 0, ""};
  }
}

std::string composePreparingOutcome(InstallError code) {
  if (code == err::Success) return catalogueText(Text::InstallationSuccessful);
  return catalogueText(Text::InstallFailedError) + decimalText(code);
}

std::string composeOverwriteQuestion(const std::string& saverName) {
  return saverName + catalogueText(Text::AlreadyExistsOverwrite);
}

std::string composeDataFileInUse() {
  return catalogueText(Text::VendorError) + catalogueText(Text::DataFileInUse);
}

std::string composeDataFileOpenProblem(const std::string& path, InstallError code) {
  return catalogueText(Text::DataFileOpenProblem) + path + kBlankLine + decimalText(code);
}

std::string composeDataFileReadProblem(const std::string& systemText) {
  return catalogueText(Text::VendorError) + catalogueText(Text::DataFileReadProblem) + systemText;
}

std::string composeDataFileCloseProblem(const std::string& path, const std::string& systemText) {
  return catalogueText(Text::ProblemClosingFile) + path + "\r\n" + systemText;
}

std::string trimSystemText(std::string text) {
  if (text.size() > 256) text.resize(256);
  while (!text.empty()) {
    const unsigned char last = static_cast<unsigned char>(text.back());
    if (last > ' ' && last != '.' && last != 0x7F) break;
    text.pop_back();
  }
  return text;
}
