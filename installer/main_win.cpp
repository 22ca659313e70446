// The program entry: the preparing window first (it becomes the main
// window), then the installer window, whose creation runs the start-up; then
// the message loop until a window ends the application.
#include <windows.h>

#include <string>

#include "installer/fInstall.h"
#include "installer/fPreparingInstallWnd.h"
#include "ui/application.h"

namespace {
const char* const kPreparingText = "Preparing installation...";

// The executable's file name without its folder: the name under which the
// user started it.
std::string executableFileName() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name(path, n < sizeof path ? n : 0);
  const std::size_t slash = name.find_last_of("\\/:");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ui::TApplication& app = ui::application();
  app.initialize();
  app.setTitle(kPreparingText);

  TpreparingInstallWnd preparing;
  preparingInstallWnd = &preparing;
  app.createForm(preparing);
  preparing.setCaption(executableFileName());
  preparing.setMessage(kPreparingText);
  app.processMessages();

  TInstallerForm installer;
  InstallerForm = &installer;
  installer.create();

  app.run();
  InstallerForm = nullptr;
  preparingInstallWnd = nullptr;
  return 0;
}
