// The display name and the installer caption derived from a saver's name.
#include "system/saver_names.h"

#include <gtest/gtest.h>

#include "tests/support/case_name.h"

namespace {
struct NameCase {
  std::string name;
  std::string saverName;
  std::string displayName;
  std::string caption;
};

const NameCase kCases[] = {
    {"PlainName", "MOVARI", "MOVARI Screen Saver", "Install Screen Saver: MOVARI"},
    {"SaverAtEnd", "Night Harbour Saver", "Night Harbour Saver", "Install: Night Harbour Saver"},
    {"SaverInCapitals", "NIGHT HARBOUR SAVER", "NIGHT HARBOUR SAVER", "Install: NIGHT HARBOUR SAVER"},
    {"SaverInsideAWord", "Lakesavers", "Lakesavers", "Install: Lakesavers"},
    {"ScreenSaverMixedCase", "Aurora sCrEeN sAvEr", "Aurora sCrEeN sAvEr", "Install: Aurora sCrEeN sAvEr"},
    {"ScreensaverOneWord", "Aurora SCREENSAVER", "Aurora SCREENSAVER", "Install: Aurora SCREENSAVER"},
    {"SaveWithoutR", "Save River", "Save River Screen Saver", "Install Screen Saver: Save River"},
    {"SaverSplitByBlank", "Sav er", "Sav er Screen Saver", "Install Screen Saver: Sav er"},
    // Bytes above 127 are compared as they are: no locale folds them.
    {"AnsiLettersKeptAsTheyAre", "Caf\xE9 S\xC1VER", "Caf\xE9 S\xC1VER Screen Saver",
     "Install Screen Saver: Caf\xE9 S\xC1VER"},
    {"EmptyName", "", " Screen Saver", "Install Screen Saver: "},
};

class SaverNames : public testing::TestWithParam<NameCase> {};

TEST_P(SaverNames, DisplayNameAndCaption) {
  const NameCase& c = GetParam();
  EXPECT_EQ(makeDisplayName(c.saverName), c.displayName);
  EXPECT_EQ(makeInstallCaption(c.saverName), c.caption);
}

INSTANTIATE_TEST_SUITE_P(Names, SaverNames, testing::ValuesIn(kCases), CaseName());

TEST(ContainsIgnoringAsciiCase, FoldsOnlyAToZ) {
  EXPECT_TRUE(containsIgnoringAsciiCase("xxSaVeRxx", "saver"));
  EXPECT_FALSE(containsIgnoringAsciiCase("sav", "saver"));
  // 0xC1 and 0xE1 are one letter in two cases in the ANSI code page, but
  // the comparison leaves them apart.
  EXPECT_FALSE(containsIgnoringAsciiCase("\xC1", "\xE1"));
  // '@' and '`' sit next to 'A' and 'a': they must not be folded together.
  EXPECT_FALSE(containsIgnoringAsciiCase("@", "`"));
}
}  // namespace
