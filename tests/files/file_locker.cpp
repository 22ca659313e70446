// Test helper: holds a file (or folder) open without sharing until told to
// let go, so that the tests meet a file that another program keeps busy.
//   file_locker PATH READY-EVENT RELEASE-EVENT
// Signals READY-EVENT once the file is held (exit code 2 when it cannot be
// opened), then waits for RELEASE-EVENT.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 4) return 1;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[3]);
  if (ready == nullptr || release == nullptr) return 3;
  SetEvent(ready);
  WaitForSingleObject(release, 60000);
  CloseHandle(file);
  return 0;
}
