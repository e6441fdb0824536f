// The string tables as the resource compiler built them into the program, read back
// through the system's string loader.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/languages.h"
#include "app/localized_texts.h"
#include "app/resource_text_table.h"
#include "system/text_inserts.h"
#include "system/utf16.h"
#include "tests/app/rc_string_tables.h"

namespace qv {
namespace {

std::string Hex(const std::u16string& text) {
  std::string out;
  char unit[8];
  for (char16_t c : text) {
    snprintf(unit, sizeof(unit), "%04X ", static_cast<unsigned>(c));
    out += unit;
  }
  return out;
}

TEST(ResourceTexts, EveryStringLoadsAsTheUtf16OfItsScript) {
  ResourceTextTable resources;
  for (const test::RcStringTable& table : test::ProjectStringTables()) {
    for (const auto& [id, expected] : table.strings) {
      std::u16string loaded;
      ASSERT_TRUE(resources.Load(id, loaded)) << table.file << " id " << id;
      EXPECT_EQ(loaded, expected) << table.file << " id " << id << "\n  loaded   " << Hex(loaded)
                                  << "\n  expected " << Hex(expected);
    }
  }
}

TEST(ResourceTexts, SpecialCharactersSurviveTheResourceCompiler) {
  ResourceTextTable resources;
  std::u16string text;
  ASSERT_TRUE(resources.Load(2112, text));
  EXPECT_EQ(text.substr(text.size() - 2), u"\u00A0:");
  ASSERT_TRUE(resources.Load(1110, text));
  EXPECT_NE(text.find(u".\r\n\r\n\u00CAtes"), std::u16string::npos) << Hex(text);
  ASSERT_TRUE(resources.Load(9002, text));  // Turkish dotted capital I
  EXPECT_EQ(text, u"\u0130ptal");
  ASSERT_TRUE(resources.Load(12004, text));  // Romanian s with comma below
  EXPECT_EQ(text, u"Ie\u0219ire");
  EXPECT_FALSE(resources.Load(2128, text));
  EXPECT_FALSE(resources.Load(1, text));
}

struct Title {
  int language;
  std::u16string title;
};

void PrintTo(const Title& c, std::ostream* os) { *os << "language " << c.language; }

class ResourceSetupTitle : public ::testing::TestWithParam<Title> {};

TEST_P(ResourceSetupTitle, NamesTheInstallerInTheLanguageOrInEnglish) {
  EXPECT_EQ(Utf16ToUtf8(GetSetupTitle(ResourceTextTable(), GetParam().language, true)),
            Utf16ToUtf8(GetParam().title + u" -- Vantrel 4.05b"));
}

INSTANTIATE_TEST_SUITE_P(
    AllLanguages, ResourceSetupTitle,
    ::testing::Values(Title{0, u"Installeur"}, Title{1, u"Installer"}, Title{2, u"Installation"},
                      Title{3, u"Instalar"}, Title{4, u"Instalador"}, Title{5, u"Installer"},
                      Title{6, u"Installer"}, Title{7, u"Kurulum"}, Title{8, u"Installer"},
                      Title{9, u"Instalare"}, Title{10, u"Installer"}, Title{11, u"Installazione"},
                      Title{12, u"Installer"}, Title{13, u"Installer"}, Title{14, u"Installer"}));

// Our insert rules against the system's own formatter, on every text that is shown.
TEST(ResourceTexts, InsertsAreFilledAsTheSystemFormatterFillsThem) {
  ResourceTextTable resources;
  const std::u16string first = u"C:\\Program Files\\Quorvik", second = u"50% \u00E9t\u00E9";
  const DWORD_PTR arguments[] = {reinterpret_cast<DWORD_PTR>(AsWide(first)),
                                 reinterpret_cast<DWORD_PTR>(AsWide(second))};
  for (const test::RcStringTable& table : test::ProjectStringTables()) {
    for (const auto& [id, text] : table.strings) {
      wchar_t* system = nullptr;
      DWORD length = FormatMessageW(
          FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER, AsWide(text),
          0, 0, reinterpret_cast<wchar_t*>(&system), 0, reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(arguments)));
      ASSERT_NE(length, 0u) << table.file << " id " << id;
      std::u16string expected = FromWide(system);
      LocalFree(system);
      std::u16string ours;
      ASSERT_EQ(FormatTextInserts(text, {first, second}, ours), 0u);
      EXPECT_EQ(ours, expected) << table.file << " id " << id;
    }
  }
}

}  // namespace
}  // namespace qv
