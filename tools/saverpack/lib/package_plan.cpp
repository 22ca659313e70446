#include "tools/saverpack/lib/package_plan.h"

std::int32_t defaultKind(int slot) {
  switch (slot) {
    case Slot::Installer: return EntryKind::Executable;
    case Slot::Compressor: return EntryKind::TempRenamed;
    case Slot::FlashInstaller: return EntryKind::Library;
    case Slot::Picture: case Slot::License: case Slot::ReadMe: return EntryKind::Temp;
    case Slot::Module: return EntryKind::SystemFolder;
    case Slot::DataFile: return EntryKind::TempRenamed;
    default: return EntryKind::SaverFile;
  }
}
