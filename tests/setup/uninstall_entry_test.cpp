// The uninstall entry in the real registry of the Wine prefix: which root
// takes it, what it holds, and its removal.
#include <windows.h>

#include <gtest/gtest.h>

#include "system/VLM_FileUtils.h"
#include "system/screen_saver_setup.h"
#include "tests/setup/setup_support.h"
#include "tests/support/case_name.h"

namespace {
struct DisplayNameCase {
  std::string name;
  std::string base;           // made unique with a numeric suffix
  std::string displaySuffix;  // what follows the saver's name in the entry
};

const DisplayNameCase kDisplayNames[] = {
    {"PlainNameGetsTheSuffix", "MOVARI", " Screen Saver"},
    {"SaverInTheNameStaysAsItIs", "Night Harbour Saver", ""},
    {"SaverInCapitalsCountsToo", "NIGHT HARBOUR SAVER", ""},
};

class UninstallEntryOnMachine : public testing::TestWithParam<DisplayNameCase> {};

TEST_P(UninstallEntryOnMachine, WrittenUnderLocalMachineAndRemoved) {
  const std::string saver = uniqueSaverName(GetParam().base);
  UninstallKeysGuard guard(saver);
  const std::string key = uninstallKeyPath(saver);

  ASSERT_EQ(writeUninstallEntry(saver), 0);
  EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, "DisplayName"), saver + GetParam().displaySuffix);
  EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, "UninstallString"), systemFolder() + saver + ".scr /u");
  EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, key));

  EXPECT_EQ(removeUninstallEntry(saver), 0);
  EXPECT_FALSE(registryKeyExists(HKEY_LOCAL_MACHINE, key));
}

INSTANTIATE_TEST_SUITE_P(DisplayNames, UninstallEntryOnMachine, testing::ValuesIn(kDisplayNames), CaseName());

TEST(UninstallEntry, GoesToCurrentUserWhenLocalMachineRefuses) {
  const std::string saver = uniqueSaverName("Refused Lights");
  UninstallKeysGuard guard(saver);
  const std::string key = uninstallKeyPath(saver);
  ReadOnlyKey refusing(HKEY_LOCAL_MACHINE, key);
  ASSERT_TRUE(refusing.ok());

  ASSERT_EQ(writeUninstallEntry(saver), 0);
  EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, "DisplayName"), std::nullopt);
  EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, key, "DisplayName"), saver + " Screen Saver");
  EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, key, "UninstallString"), systemFolder() + saver + ".scr /u");

  // The machine's key cannot be opened for removal, so the user's goes.
  EXPECT_EQ(removeUninstallEntry(saver), 0);
  EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, key));
}

TEST(UninstallEntry, NeitherRootTakesItIsAnError) {
  const std::string saver = uniqueSaverName("Nowhere Lights");
  UninstallKeysGuard guard(saver);
  const std::string key = uninstallKeyPath(saver);
  ReadOnlyKey machine(HKEY_LOCAL_MACHINE, key);
  ReadOnlyKey user(HKEY_CURRENT_USER, key);
  ASSERT_TRUE(machine.ok() && user.ok());

  EXPECT_EQ(writeUninstallEntry(saver), err::UninstallEntryNotWritten);
  EXPECT_EQ(readRegistryString(HKEY_LOCAL_MACHINE, key, "DisplayName"), std::nullopt);
  EXPECT_EQ(readRegistryString(HKEY_CURRENT_USER, key, "DisplayName"), std::nullopt);
}

// An entry as an earlier run would have left it under one root.
void writeEntryByHand(HKEY root, const std::string& saver) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, uninstallKeyPath(saver).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  for (const char* value : {"DisplayName", "UninstallString"}) {
    RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
  }
  RegCloseKey(key);
}

TEST(UninstallEntryRemoval, KeyOnlyUnderCurrentUserIsRemoved) {
  const std::string saver = uniqueSaverName("User Lights");
  UninstallKeysGuard guard(saver);
  writeEntryByHand(HKEY_CURRENT_USER, saver);

  EXPECT_EQ(removeUninstallEntry(saver), 0);
  EXPECT_FALSE(registryKeyExists(HKEY_CURRENT_USER, uninstallKeyPath(saver)));
}

TEST(UninstallEntryRemoval, KeyNowhereIsNothingToDo) {
  const std::string saver = uniqueSaverName("Absent Lights");
  EXPECT_EQ(removeUninstallEntry(saver), 0);
}

TEST(UninstallEntryRemoval, KeyThatCannotBeDeletedIsAnError) {
  const std::string saver = uniqueSaverName("Stuck Lights");
  UninstallKeysGuard guard(saver);
  writeEntryByHand(HKEY_CURRENT_USER, saver);
  // A key with a subkey of its own cannot be deleted by itself.
  HKEY child = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (uninstallKeyPath(saver) + "\\child").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &child, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(child);

  EXPECT_EQ(removeUninstallEntry(saver), err::UninstallEntryNotRemoved);
  EXPECT_TRUE(registryKeyExists(HKEY_CURRENT_USER, uninstallKeyPath(saver)));
}
}  // namespace
