// The active screen saver in the real system.ini of the Wine prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include "package/package_format.h"
#include "package/package_state.h"
#include "system/VLM_FileUtils.h"
#include "system/screen_saver_setup.h"
#include "tests/setup/setup_support.h"
#include "tests/support/case_name.h"

namespace {
void setModuleName(const std::string& name) {
  setEntryName(packageState().packageDirectory.entries[Slot::Module], name);
}

// True for a last path component of at most 8 characters, a dot and at
// most 3 more, without blanks.
bool isEightDotThree(const std::string& path) {
  const std::string file = path.substr(path.find_last_of('\\') + 1);
  const std::size_t dot = file.find('.');
  const std::size_t stem = dot == std::string::npos ? file.size() : dot;
  const std::size_t extension = dot == std::string::npos ? 0 : file.size() - dot - 1;
  return stem >= 1 && stem <= 8 && extension <= 3 && file.find(' ') == std::string::npos;
}

class ActiveScreenSaver : public testing::Test {
 protected:
  ActiveSaverSettingGuard setting_;
};

TEST_F(ActiveScreenSaver, WritesTheModulesShortPathAndAgainTheSame) {
  const std::string moduleName = uniqueSaverName("Night Harbour Lights") + ".scr";
  ScratchFile module(systemFolder() + moduleName);
  ASSERT_TRUE(module.ok());
  setModuleName(moduleName);

  ASSERT_EQ(setActiveScreenSaver(), 0);
  const std::optional<std::string> first = activeSaverSetting();
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(*first, systemShortPath(module.path()));
  EXPECT_NE(*first, module.path());
  EXPECT_TRUE(isEightDotThree(*first)) << *first;
  // The profile file is the one in the Windows folder.
  char direct[MAX_PATH * 2];
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", direct, sizeof direct, (windowsFolder() + "system.ini").c_str());
  EXPECT_EQ(*first, direct);

  EXPECT_EQ(setActiveScreenSaver(), 0);
  EXPECT_EQ(activeSaverSetting(), first);
}

struct MissingModuleCase {
  std::string name;
  std::string moduleName;
};

class ActiveScreenSaverWithoutModule : public ActiveScreenSaver,
                                       public testing::WithParamInterface<MissingModuleCase> {};

TEST_P(ActiveScreenSaverWithoutModule, GivesFileNotFoundAndWritesNothing) {
  const std::string sentinel = "C:\\" + uniqueSaverName("SENTINEL") + ".SCR";
  ASSERT_TRUE(WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", sentinel.c_str(), "system.ini"));
  setModuleName(GetParam().moduleName);

  EXPECT_EQ(setActiveScreenSaver(), err::FileNotFound);
  EXPECT_EQ(activeSaverSetting(), sentinel);
}

const MissingModuleCase kMissingModules[] = {
    {"NoSuchFile", "Absent Saver 0815.scr"},
    // An empty slot name leaves the system folder itself, which is no module.
    {"EmptySlotNameIsTheFolder", ""},
};

INSTANTIATE_TEST_SUITE_P(Missing, ActiveScreenSaverWithoutModule, testing::ValuesIn(kMissingModules), CaseName());

TEST_F(ActiveScreenSaver, UnwritableProfileGivesTheSystemsCode) {
  // Wine writes a read-only profile file all the same, but a folder in the
  // file's place refuses for real. The shared system.ini cannot be taken
  // away from the tests running beside this one, so the same write goes to
  // a private file of that name.
  const std::string folder = tempFolder() + uniqueSaverName("profile") + "\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string profile = folder + "system.ini";
  ASSERT_TRUE(CreateDirectoryA(profile.c_str(), nullptr));
  ScratchFile module(folder + "Night Harbour Lights.scr");
  ASSERT_TRUE(module.ok());

  HANDLE probe = CreateFileA(profile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  const DWORD systemCode = probe == INVALID_HANDLE_VALUE ? GetLastError() : 0;
  if (probe != INVALID_HANDLE_VALUE) CloseHandle(probe);
  ASSERT_NE(systemCode, 0u);

  EXPECT_EQ(setActiveScreenSaverAt(module.path(), profile.c_str()), static_cast<InstallError>(systemCode));

  RemoveDirectoryA(profile.c_str());
}
}  // namespace
