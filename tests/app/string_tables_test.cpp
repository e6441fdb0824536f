// The fifteen string tables as the resource scripts hold them.
#include <gtest/gtest.h>

#include <set>

#include "app/languages.h"
#include "system/utf16.h"
#include "tests/app/rc_string_tables.h"

namespace qv {
namespace {

using test::ProjectStringTables;
using test::RcStringTable;

const std::vector<unsigned> kTextIds = [] {
  std::vector<unsigned> ids;
  for (unsigned id = 1000; id <= 1018; ++id) ids.push_back(id);
  for (unsigned id = 1100; id <= 1127; ++id) ids.push_back(id);
  ids.push_back(1129);
  return ids;
}();

const std::set<unsigned> kPartialWords = {1001, 1002, 1003, 1004, 1005, 1006, 1008, 1009};

// The table whose ids start at the language's offset.
const RcStringTable* TableOf(int language) {
  unsigned first = 1000 + LanguageTableOffset(language);
  for (const RcStringTable& table : ProjectStringTables()) {
    if (!table.strings.empty() && table.strings.begin()->first == first) return &table;
  }
  return nullptr;
}

// "%1", "%2" ... in the order they appear.
std::vector<int> Inserts(const std::u16string& text) {
  std::vector<int> inserts;
  for (size_t at = 0; at + 1 < text.size(); ++at) {
    if (text[at] == u'%' && text[at + 1] >= u'1' && text[at + 1] <= u'9') inserts.push_back(text[at + 1] - u'0');
  }
  return inserts;
}

enum class Content { Complete, Partial, Placeholders };

Content ContentOf(int language) {
  if (HasInstallerTexts(language)) return Content::Complete;
  switch (language) {
    case 5: case 6: case 12: case 13: return Content::Partial;
    default: return Content::Placeholders;
  }
}

class LanguageTable : public ::testing::TestWithParam<int> {};

TEST_P(LanguageTable, SitsUnderItsLocaleWithEveryTextId) {
  const RcStringTable* table = TableOf(GetParam());
  ASSERT_NE(table, nullptr) << "no table starts at " << 1000 + LanguageTableOffset(GetParam());
  EXPECT_EQ(table->lcid, LanguageLcid(GetParam())) << table->file;
  std::vector<unsigned> ids;
  for (const auto& entry : table->strings) ids.push_back(entry.first - LanguageTableOffset(GetParam()));
  EXPECT_EQ(ids, kTextIds) << table->file;
}

TEST_P(LanguageTable, TranslatesExactlyWhatItsKindPromisesWithTheEnglishInserts) {
  const RcStringTable* table = TableOf(GetParam());
  const RcStringTable* english = TableOf(LANGUAGE_ENGLISH);
  ASSERT_TRUE(table && english);
  Content content = ContentOf(GetParam());
  for (unsigned textId : kTextIds) {
    const std::u16string& text = table->strings.at(textId + LanguageTableOffset(GetParam()));
    bool translated = content == Content::Complete ||
                      (content == Content::Partial && kPartialWords.count(textId) != 0);
    SCOPED_TRACE(table->file + " text " + std::to_string(textId) + ": " + Utf16ToUtf8(text));
    if (!translated) {
      EXPECT_EQ(text, u"#");
      continue;
    }
    EXPECT_NE(text, u"#");
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(Inserts(text), Inserts(english->strings.at(textId + 1000)));
  }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageTable, ::testing::Range(0, LANGUAGE_COUNT));

TEST(StringTables, EveryResourceIdAndEveryBlockOfSixteenBelongsToOneLanguage) {
  std::map<unsigned, unsigned> blockLcid;
  std::set<unsigned> ids;
  for (const RcStringTable& table : ProjectStringTables()) {
    for (const auto& entry : table.strings) {
      EXPECT_TRUE(ids.insert(entry.first).second) << "id " << entry.first << " twice";
      auto [it, fresh] = blockLcid.emplace(entry.first / 16, table.lcid);
      EXPECT_TRUE(fresh || it->second == table.lcid) << "block of id " << entry.first << " mixes languages";
    }
  }
  EXPECT_EQ(ProjectStringTables().size(), static_cast<size_t>(LANGUAGE_COUNT));
}

TEST(StringTables, EachCompleteTableNamesItsOwnLanguageInTheInstallerNotice) {
  std::set<std::u16string> notices;
  for (int language = 0; language < LANGUAGE_COUNT; ++language) {
    if (!HasInstallerTexts(language)) continue;
    const std::u16string& notice = TableOf(language)->strings.at(1129 + LanguageTableOffset(language));
    EXPECT_TRUE(notices.insert(notice).second) << Utf16ToUtf8(notice);
  }
}

struct QuotedText {
  unsigned resourceId;
  std::u16string text;
};

void PrintTo(const QuotedText& quoted, std::ostream* os) { *os << quoted.resourceId; }

class QuotedTexts : public ::testing::TestWithParam<QuotedText> {};

TEST_P(QuotedTexts, AreKeptToTheCharacter) {
  std::u16string text;
  ASSERT_TRUE(test::ProjectTextTable().Load(GetParam().resourceId, text));
  EXPECT_EQ(Utf16ToUtf8(text), Utf16ToUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    EnglishAndFrench, QuotedTexts,
    ::testing::Values(
        QuotedText{2000, u"Installer"}, QuotedText{2014, u"Select Installation Langage"},
        QuotedText{2110, u"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?"},
        QuotedText{2112, u"Create a Shortcut in the following Menu\u00A0:"},
        QuotedText{2115, u"Copying File  %1..."},
        QuotedText{2129, u"'%1' will be installed in the selected Langage, but the Installer, still under "
                         u"translation,  shall run in English."},
        QuotedText{2126, u"You should have Administrator Rights in order to proceed to Installation."},
        QuotedText{2127, u"You should close '%1' before continuing Installation."},
        QuotedText{1000, u"Installeur"}, QuotedText{1006, u"Suivant"},
        QuotedText{1110, u"L'installation n'est pas achev\u00E9e.\r\n\r\n\u00CAtes-vous certain de vouloir "
                         u"quitter l'installeur ?"},
        QuotedText{3000, u"Installation"}, QuotedText{4000, u"Instalar"}, QuotedText{6006, u"Seguente"},
        QuotedText{7006, u"Volgende"}));

}  // namespace
}  // namespace qv
