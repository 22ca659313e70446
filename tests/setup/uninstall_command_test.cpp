// The uninstall command's form under the Windows version Wine reports to
// this program (SAVER_EXPECT_WIN9X says which family that is).
#include <windows.h>

#include <gtest/gtest.h>

#include "system/VLM_FileUtils.h"
#include "system/screen_saver_setup.h"
#include "tests/setup/setup_support.h"

namespace {
constexpr bool kWindows9x = SAVER_EXPECT_WIN9X != 0;

TEST(WindowsFamily, IsWindows9xMatchesTheReportedVersion) { EXPECT_EQ(isWindows9x(), kWindows9x); }

TEST(UninstallCommand, ShortOnWindows9xLongWithBlanksOnNT) {
  const std::string saver = uniqueSaverName("Night Harbour Lights");
  UninstallKeysGuard guard(saver);
  const std::string longModule = systemFolder() + saver + ".scr";
  ScratchFile module(longModule);
  ASSERT_TRUE(module.ok());

  ASSERT_EQ(writeUninstallEntry(saver), 0);
  const std::string expected = (kWindows9x ? systemShortPath(longModule) : longModule) + " /u";
  EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, uninstallKeyPath(saver), "UninstallString"), expected);
  if (kWindows9x) {
    EXPECT_EQ(expected.find(' '), expected.size() - 3) << "only the blank before /u";
  } else {
    EXPECT_NE(expected.find("Night Harbour Lights"), std::string::npos);
  }
}

TEST(UninstallCommand, LongWhenTheModuleIsMissing) {
  // Without a file there is no short form to take, on any family.
  const std::string saver = uniqueSaverName("Missing Harbour Lights");
  UninstallKeysGuard guard(saver);

  ASSERT_EQ(writeUninstallEntry(saver), 0);
  EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, uninstallKeyPath(saver), "UninstallString"),
            systemFolder() + saver + ".scr /u");
}
}  // namespace
