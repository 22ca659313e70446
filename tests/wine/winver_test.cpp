// The harness gives each test program the Windows version its scenario
// names (SAVER_WINVER); this checks that the program really sees it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {
struct Version {
  const char* name;
  DWORD platform;
  DWORD major;
  DWORD minor;
};

const Version kVersions[] = {
    {"win95", VER_PLATFORM_WIN32_WINDOWS, 4, 0}, {"win98", VER_PLATFORM_WIN32_WINDOWS, 4, 10},
    {"nt40", VER_PLATFORM_WIN32_NT, 4, 0},       {"win2k", VER_PLATFORM_WIN32_NT, 5, 0},
    {"winxp", VER_PLATFORM_WIN32_NT, 5, 1},
};

TEST(WineVersion, ProgramSeesTheVersionItsScenarioNames) {
  const char* wanted = std::getenv("SAVER_WINVER");
  ASSERT_NE(wanted, nullptr) << "run through wine-run with SAVER_WINVER set";
  const Version* expected = nullptr;
  for (const Version& v : kVersions) {
    if (std::strcmp(v.name, wanted) == 0) expected = &v;
  }
  ASSERT_NE(expected, nullptr) << "unknown version " << wanted;

  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, expected->platform);
  EXPECT_EQ(info.dwMajorVersion, expected->major);
  EXPECT_EQ(info.dwMinorVersion, expected->minor);
  // GetVersion's top bit tells the Windows 9x family from NT.
  EXPECT_EQ((GetVersion() & 0x80000000u) != 0, expected->platform == VER_PLATFORM_WIN32_WINDOWS);
}
}  // namespace
