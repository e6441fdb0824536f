// Text ids resolved against the project's tables, with their fall-backs.
#include <gtest/gtest.h>

#include "app/languages.h"
#include "app/localized_texts.h"
#include "system/text_inserts.h"
#include "system/utf16.h"
#include "tests/app/rc_string_tables.h"

namespace qv {
namespace {

struct Lookup {
  int language;
  unsigned textId;
  unsigned resourceId;
  std::u16string text;
};

void PrintTo(const Lookup& c, std::ostream* os) { *os << "language " << c.language << " text " << c.textId; }

class LookupInProjectTables : public ::testing::TestWithParam<Lookup> {};

TEST_P(LookupInProjectTables, PicksTheLanguagesResourceOrEnglish) {
  MapTextTable table = test::ProjectTextTable();
  EXPECT_EQ(LookupTextId(table, GetParam().language, GetParam().textId), GetParam().resourceId);
  EXPECT_EQ(Utf16ToUtf8(LoadText(table, GetParam().language, GetParam().textId)), Utf16ToUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupInProjectTables,
    ::testing::Values(Lookup{11, 1006, 6006, u"Seguente"},  // Italian reads the 6000 table
                      Lookup{4, 1006, 5006, u"Seguinte"},   // Portuguese the 5000 table
                      Lookup{7, 1000, 9000, u"Kurulum"},    // Turkish the 9000 table
                      Lookup{9, 1000, 12000, u"Instalare"}, // Romanian the 12000 table
                      Lookup{5, 1006, 2006, u"Next"},       // Dutch has no installer texts
                      Lookup{13, 1002, 2002, u"Cancel"}, Lookup{8, 1000, 2000, u"Installer"},
                      Lookup{0, 1110, 1110,
                             u"L'installation n'est pas achev\u00E9e.\r\n\r\n\u00CAtes-vous certain de "
                             u"vouloir quitter l'installeur ?"},
                      Lookup{-1, 1000, 2000, u"Installer"}, Lookup{15, 1000, 2000, u"Installer"}));

TEST(LookupInProjectTables, NoLanguageShowsAPlaceholderOrAnEmptyText) {
  MapTextTable table = test::ProjectTextTable();
  for (int language = 0; language < LANGUAGE_COUNT; ++language) {
    for (unsigned textId : {1000u, 1009u, 1018u, 1100u, 1112u, 1127u, 1129u}) {
      std::u16string text = LoadText(table, language, textId);
      EXPECT_FALSE(text.empty() || text == u"#") << "language " << language << " text " << textId;
      unsigned id = LookupTextId(table, language, textId);
      unsigned expected = textId + LanguageTableOffset(HasInstallerTexts(language) ? language : LANGUAGE_ENGLISH);
      EXPECT_EQ(id, expected) << "language " << language << " text " << textId;
    }
  }
}

// A table whose entries may be "#" where the tables of a later release lack a translation.
struct FallBack {
  int language;
  std::vector<unsigned> placeholders;
  unsigned resourceId;
};

void PrintTo(const FallBack& c, std::ostream* os) {
  *os << "language " << c.language << " with " << c.placeholders.size() << " placeholders";
}

class PlaceholderFallBack : public ::testing::TestWithParam<FallBack> {};

TEST_P(PlaceholderFallBack, GoesToEnglishThenFrench) {
  MapTextTable table = test::ProjectTextTable();
  for (unsigned id : GetParam().placeholders) table.Set(id, u"#");
  EXPECT_EQ(LookupTextId(table, GetParam().language, 1104), GetParam().resourceId);
}

INSTANTIATE_TEST_SUITE_P(
    Text1104, PlaceholderFallBack,
    ::testing::Values(FallBack{3, {4104}, 2104},          // Spanish to English
                      FallBack{3, {4104, 2104}, 1104},    // then to French
                      FallBack{11, {6104}, 2104},         // Italian's own offset is tested, not 12104
                      FallBack{1, {2104}, 1104},          // English goes straight to French
                      FallBack{0, {1104}, 1104},          // French is the last resort, even as "#"
                      FallBack{3, {2104}, 4104},          // a complete entry ignores English
                      FallBack{3, {4104, 2104, 1104}, 1104}));

TEST(LoadText, AResourceThatDoesNotExistIsAnEmptyText) {
  MapTextTable table = test::ProjectTextTable();
  EXPECT_EQ(LookupTextId(table, 3, 1128), 4128u);
  EXPECT_EQ(LoadText(table, 3, 1128), u"");
}

struct Title {
  int language;
  bool withProduct;
  std::u16string title;
};

void PrintTo(const Title& c, std::ostream* os) { *os << "language " << c.language << (c.withProduct ? " with product" : ""); }

class SetupTitle : public ::testing::TestWithParam<Title> {};

TEST_P(SetupTitle, IsTheInstallerWordAndTheProduct) {
  EXPECT_EQ(Utf16ToUtf8(GetSetupTitle(test::ProjectTextTable(), GetParam().language, GetParam().withProduct)),
            Utf16ToUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(Cases, SetupTitle,
                         ::testing::Values(Title{2, true, u"Installation -- Vantrel 4.05b"},
                                           Title{3, false, u"Instalar"},
                                           Title{0, true, u"Installeur -- Vantrel 4.05b"},
                                           Title{1, true, u"Installer -- Vantrel 4.05b"},
                                           Title{5, true, u"Installer -- Vantrel 4.05b"}));

struct Formatted {
  int language;
  unsigned textId;
  std::vector<std::u16string> arguments;
  std::u16string text;
};

void PrintTo(const Formatted& c, std::ostream* os) { *os << "language " << c.language << " text " << c.textId; }

class FormatTableText : public ::testing::TestWithParam<Formatted> {};

TEST_P(FormatTableText, FillsTheInsertsAndKeepsTheRest) {
  std::u16string out;
  ASSERT_EQ(FormatTextInserts(test::ProjectTextTable(), GetParam().language, GetParam().textId,
                              GetParam().arguments, out),
            0u);
  EXPECT_EQ(Utf16ToUtf8(out), Utf16ToUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatTableText,
    ::testing::Values(
        Formatted{1, 1101, {u"1.0", u"2.0"}, u"Update from '1.0' to '2.0'."},
        Formatted{1, 1127, {u"Vantrel"}, u"You should close 'Vantrel' before continuing Installation."},
        Formatted{5, 1129, {u"Vantrel"},
                  u"'Vantrel' will be installed in the selected Langage, but the Installer, still under "
                  u"translation,  shall run in English."},
        Formatted{1, 1115, {u"a.dll"}, u"Copying File  a.dll..."},
        Formatted{0, 1110, {},
                  u"L'installation n'est pas achev\u00E9e.\r\n\r\n\u00CAtes-vous certain de vouloir quitter "
                  u"l'installeur ?"},
        Formatted{11, 1105, {u"Seguente", u"Annulla"},
                  u"Fare clic su 'Seguente' per continuare o su 'Annulla' per uscire dall'installazione."},
        Formatted{1, 1121, {u"3:00000005"}, u"Installation failed (Error Code 3:00000005)."}));

TEST(FormatTableText, EveryTextOfEveryLanguageTakesItsInserts) {
  MapTextTable table = test::ProjectTextTable();
  for (int language = 0; language < LANGUAGE_COUNT; ++language) {
    for (unsigned textId : {1003u, 1013u, 1018u, 1100u, 1101u, 1105u, 1111u, 1115u, 1123u, 1124u, 1129u}) {
      std::u16string out;
      EXPECT_EQ(FormatTextInserts(table, language, textId, {u"\u00AB1\u00BB", u"\u00AB2\u00BB"}, out), 0u);
      EXPECT_EQ(out.find(u'%'), std::u16string::npos) << "language " << language << " text " << textId;
      EXPECT_NE(out.find(u"\u00AB1\u00BB"), std::u16string::npos) << "language " << language << " text " << textId;
    }
  }
}

TEST(FormatTableText, AMissingTextFailsInsteadOfFormattingNothing) {
  std::u16string out = u"stale";
  EXPECT_EQ(FormatTextInserts(test::ProjectTextTable(), 1, 1128, {}, out), kHresultFail);
  EXPECT_EQ(out, u"");
  MapTextTable empty;
  empty.Set(2000, u"");
  EXPECT_EQ(FormatTextInserts(empty, 1, 1000, {}, out), kHresultInvalidArg);
}

}  // namespace
}  // namespace qv
