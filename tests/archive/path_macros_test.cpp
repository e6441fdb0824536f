#include "archive/path_macros.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

// Expansion rules that need no system folder: these hold on every platform.
struct MacroCase {
  const char* name;
  std::u16string path;
  std::u16string expanded;
};

void PrintTo(const MacroCase& c, std::ostream* os) { *os << c.name; }

class PlainExpansion : public ::testing::TestWithParam<MacroCase> {};

TEST_P(PlainExpansion, Expands) {
  EXPECT_EQ(ExpandPathMacros(u"C:\\Inst", u"D:\\Examples", GetParam().path), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PlainExpansion,
    ::testing::Values(
        MacroCase{"no_macro_unchanged", u"C:\\a\\b.txt", u"C:\\a\\b.txt"},
        MacroCase{"open_without_close_unchanged", u"<InstallPath\\b.txt", u"<InstallPath\\b.txt"},
        MacroCase{"install_path", u"<InstallPath>\\b.txt", u"C:\\Inst\\b.txt"},
        MacroCase{"other_case_is_unknown_and_removed", u"<installpath>\\b.txt", u"\\b.txt"},
        MacroCase{"unknown_removed", u"<Nope>\\b.txt", u"\\b.txt"},
        MacroCase{"every_occurrence_in_one_pass", u"<InstallPath>\\x<InstallPath>", u"C:\\Inst\\xC:\\Inst"},
        MacroCase{"absolute_examples_folder_used_as_is", u"<SamplePath>\\e.txt", u"D:\\Examples\\e.txt"},
        MacroCase{"close_before_open_ends", u"a>b<InstallPath>", u"a>bC:\\Inst"},
        MacroCase{"lone_close_unchanged", u"a>b", u"a>b"}));

// A folder value that names its own macro must not expand for ever.
TEST(PathMacros, SelfReferencingValueStops) {
  const std::u16string out = ExpandPathMacros(u"<InstallPath><InstallPath>", u"", u"<InstallPath>\\a");
  EXPECT_NE(out.find(u"<InstallPath>"), std::u16string::npos);
}

#ifndef _WIN32
class TableExpansion : public ::testing::Test {
 protected:
  TableExpansion() {
    ClearMacroFolders();
    SetMacroFolder(u"CommonDesktop", u"/all/Desktop");
    SetMacroFolder(u"Desktop", u"/me/Desktop");
    SetMacroFolder(u"ProgramFiles", u"/pf");
  }
  ~TableExpansion() override { ClearMacroFolders(); }
};

TEST_F(TableExpansion, TwoMacrosExpandLeftFirst) {
  EXPECT_EQ(ExpandPathMacros(u"/inst", u"", u"<ProgramFiles>\\<InstallPath>"), u"/pf\\/inst");
}

TEST_F(TableExpansion, SamplePathGoesUnderTheCommonDesktop) {
  EXPECT_EQ(ExpandPathMacros(u"/inst", u"", u"<SamplePath>\\e.txt"), u"/all/Desktop\\e.txt");
  EXPECT_EQ(ExpandPathMacros(u"/inst", u"Vantrel Examples", u"<SamplePath>\\e.txt"),
            u"/all/Desktop\\Vantrel Examples\\e.txt");
}

TEST_F(TableExpansion, SamplePathFallsBackToTheUserDesktop) {
  ClearMacroFolders();
  SetMacroFolder(u"Desktop", u"/me/Desktop");
  EXPECT_EQ(ExpandPathMacros(u"/inst", u"Ex", u"<SamplePath>\\e.txt"), u"/me/Desktop\\Ex\\e.txt");
}

TEST_F(TableExpansion, UnresolvableSystemFolderIsEmpty) {
  EXPECT_EQ(ExpandPathMacros(u"/inst", u"", u"<Documents>\\d.txt"), u"\\d.txt");
}

TEST_F(TableExpansion, FoldersUnderARootAreNamedAfterTheirMacro) {
  SetMacroFoldersUnder(u"/root");
  EXPECT_EQ(ExpandPathMacros(u"/inst", u"", u"<CommonData>\\x"), u"/root/CommonData\\x");
  EXPECT_EQ(ExpandPathMacros(u"/inst", u"", u"<System>\\x"), u"/root/System\\x");
}
#else
// The system folders come from the shell here; the rules around them still hold.
TEST(SystemFolders, EveryMacroResolvesUnderWine) {
  for (const char16_t* name : {u"ProgramFiles", u"ProgramCommon", u"CommonData", u"UserData", u"CommonDocuments",
                               u"Documents", u"CommonDesktop", u"Desktop", u"WinDir", u"System"}) {
    std::u16string folder;
    EXPECT_TRUE(LookupFolderMacro(name, &folder)) << std::u16string_view(name).size();
    EXPECT_FALSE(folder.empty());
  }
}

TEST(SystemFolders, RelativeExamplesFolderGoesUnderTheCommonDesktop) {
  std::u16string desktop;
  ASSERT_TRUE(LookupFolderMacro(u"CommonDesktop", &desktop));
  EXPECT_EQ(ExpandPathMacros(u"C:\\Inst", u"Vantrel Examples", u"<SamplePath>\\e.txt"),
            desktop + u"\\Vantrel Examples\\e.txt");
  EXPECT_EQ(ExpandPathMacros(u"C:\\Inst", u"", u"<SamplePath>\\e.txt"), desktop + u"\\e.txt");
}
#endif

}  // namespace
}  // namespace qv
