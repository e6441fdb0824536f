// The language chosen at start-up and the language rules behind it.
#include <gtest/gtest.h>

#include <set>

#include "app/languages.h"
#include "system/message_box_style.h"

namespace qv {
namespace {

struct UserDefault {
  std::uint16_t langId;
  int index;
};

void PrintTo(const UserDefault& c, std::ostream* os) { *os << std::hex << "0x" << c.langId; }

class UserDefaultLanguage : public ::testing::TestWithParam<UserDefault> {};

TEST_P(UserDefaultLanguage, MapsThePrimaryLanguage) {
  EXPECT_EQ(LanguageFromLangId(GetParam().langId), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UserDefaultLanguage,
    ::testing::Values(UserDefault{0x040C, 0}, UserDefault{0x080C, 0},  // French of France and Belgium
                      UserDefault{0x0407, 2}, UserDefault{0x0C07, 2}, UserDefault{0x0C0A, 3},
                      UserDefault{0x040A, 3}, UserDefault{0x0413, 5}, UserDefault{0x0418, 9},
                      UserDefault{0x0410, 11}, UserDefault{0x0810, 11}, UserDefault{0x0409, 1},
                      UserDefault{0x0816, 1}, UserDefault{0x0416, 1},  // Portuguese, complete table or not
                      UserDefault{0x041F, 1}, UserDefault{0x0804, 1}, UserDefault{0x0406, 1},
                      UserDefault{0x0408, 1}, UserDefault{0x0000, 1}, UserDefault{0xFC0C, 0}));

struct StartupCase {
  const char* name;
  int userDefault;
  std::optional<std::uint32_t> remembered;
  int index;
};

void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.name; }

class StartupLanguage : public ::testing::TestWithParam<StartupCase> {};

TEST_P(StartupLanguage, EndsInALanguageWithInstallerTexts) {
  int chosen = ChooseStartupLanguage(GetParam().userDefault, GetParam().remembered);
  EXPECT_EQ(chosen, GetParam().index);
  EXPECT_TRUE(HasInstallerTexts(chosen));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartupLanguage,
    ::testing::Values(StartupCase{"FrenchUserNothingRemembered", 0, std::nullopt, 0},
                      StartupCase{"ItalianRememberedOnEnglish", 1, 11u, 11},
                      StartupCase{"PortugueseRememberedIsNotSelectable", 1, 4u, 1},
                      StartupCase{"TurkishRememberedIsNotSelectable", 2, 7u, 2},
                      StartupCase{"FifteenIsOutOfRange", 0, 15u, 0},
                      StartupCase{"NegativeAsUnsignedIsOutOfRange", 3, 0xFFFFFFFFu, 3},
                      StartupCase{"HugeValue", 9, 0x8000000Bu, 9},
                      StartupCase{"DutchRememberedEndsInEnglish", 0, 5u, 1},
                      StartupCase{"DutchUserEndsInEnglish", 5, std::nullopt, 1},
                      StartupCase{"RomanianRemembered", 1, 9u, 9},
                      StartupCase{"FrenchRememberedOverGerman", 2, 0u, 0}));

TEST(LanguageTable, FlagsLocalesAndTablesAreDistinctAndOutOfRangeHasNone) {
  std::set<unsigned> flags, lcids;
  std::set<int> offsets;
  for (int index = 0; index < LANGUAGE_COUNT; ++index) {
    EXPECT_TRUE(flags.insert(LanguageFlagIcon(index)).second);
    EXPECT_GE(LanguageFlagIcon(index), 141u);
    EXPECT_LE(LanguageFlagIcon(index), 155u);
    EXPECT_TRUE(lcids.insert(LanguageLcid(index)).second);
    EXPECT_TRUE(offsets.insert(LanguageTableOffset(index)).second);
    // Every selectable language either has installer texts or is the one shown in English.
    if (IsSelectableLanguage(index) && !HasInstallerTexts(index)) {
      EXPECT_EQ(index, 5);
    }
  }
  for (int index : {-1, 15, 1000}) {
    EXPECT_FALSE(HasInstallerTexts(index));
    EXPECT_FALSE(IsSelectableLanguage(index));
    EXPECT_EQ(LanguageLcid(index), 0u);
    EXPECT_EQ(LanguageFlagIcon(index), 0u);
  }
}

struct BoxStyle {
  unsigned given;
  unsigned shown;
};

void PrintTo(const BoxStyle& c, std::ostream* os) { *os << std::hex << "0x" << c.given; }

class StandardBoxIcon : public ::testing::TestWithParam<BoxStyle> {};

TEST_P(StandardBoxIcon, IsAddedOnlyWhenTheCallerGaveNone) {
  EXPECT_EQ(StandardMessageBoxStyle(GetParam().given), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StandardBoxIcon,
    ::testing::Values(BoxStyle{kBoxOk, kBoxOk | kBoxIconExclamation},
                      BoxStyle{kBoxOkCancel, kBoxOkCancel | kBoxIconExclamation},
                      BoxStyle{kBoxYesNo, kBoxYesNo | kBoxIconQuestion},
                      BoxStyle{kBoxYesNoCancel, kBoxYesNoCancel | kBoxIconQuestion},
                      BoxStyle{kBoxYesNo | 0x100, kBoxYesNo | 0x100 | kBoxIconQuestion},  // default button kept
                      BoxStyle{kBoxRetryCancel, kBoxRetryCancel},
                      BoxStyle{kBoxOk | kBoxIconInformation, kBoxOk | kBoxIconInformation},
                      BoxStyle{kBoxRetryCancel | kBoxIconExclamation, kBoxRetryCancel | kBoxIconExclamation}));

}  // namespace
}  // namespace qv
