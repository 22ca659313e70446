#include "installer/install_error.h"

namespace {
struct NamedCode {
  InstallError code;
  const char* name;
};

constexpr NamedCode kNames[] = {
    {err::GeneralFailure, "GeneralFailure"},
    {err::OutOfMemory, "OutOfMemory"},
    {err::EntryOutOfRange, "EntryOutOfRange"},
    {err::SizeMismatch, "SizeMismatch"},
    {err::DataFileNotOpen, "DataFileNotOpen"},
    {err::FileNotFound, "FileNotFound"},
    {err::ReadShort, "ReadShort"},
    {err::HeaderReadShort, "HeaderReadShort"},
    {err::FileBusy, "FileBusy"},
    {err::CompressorUnavailable, "CompressorUnavailable"},
    {err::SaverBusy, "SaverBusy"},
    {err::PlayerInstallerMissing, "PlayerInstallerMissing"},
    {err::PlayerRequired, "PlayerRequired"},
    {err::PlayerControlFailed, "PlayerControlFailed"},
    {err::MovieBadSignature, "MovieBadSignature"},
    {err::MovieVersionTooNew, "MovieVersionTooNew"},
    {err::MovieVersionTooOld, "MovieVersionTooOld"},
    {err::PlayerStopFailed, "PlayerStopFailed"},
    {err::PlayerTooOldForMovie, "PlayerTooOldForMovie"},
    {err::UserAbort, "UserAbort"},
    {err::NotForWindowsNT, "NotForWindowsNT"},
    {err::SelfCopyFailed, "SelfCopyFailed"},
    {err::EmptySlot, "EmptySlot"},
    {err::MovieCopyFailed, "MovieCopyFailed"},
    {err::UninstallEntryNotWritten, "UninstallEntryNotWritten"},
    {err::UninstallEntryNotRemoved, "UninstallEntryNotRemoved"},
    {err::UnsafeEntryName, "UnsafeEntryName"},
    {err::DataFileCorrupt, "DataFileCorrupt"},
    {err::EntryKindInvalid, "EntryKindInvalid"},
    {err::MovieReadBeyondEnd, "MovieReadBeyondEnd"},
    {err::MovieBackgroundTooShort, "MovieBackgroundTooShort"},
    {err::MovieCommandWindowEmpty, "MovieCommandWindowEmpty"},
    {err::MovieTagTooLong, "MovieTagTooLong"},
    {err::MovieIOError, "MovieIOError"},
    {err::MovieInflateError, "MovieInflateError"},
};
}  // namespace

const char* errorName(InstallError code) {
  for (const NamedCode& n : kNames) {
    if (n.code == code) return n.name;
  }
  return nullptr;
}
