#include "install/shortcut_paths.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "system/utf16.h"

namespace qv {
namespace {

struct ShortcutCase {
  const char* name;
  std::optional<std::u16string> displayName;
  std::u16string target;
  std::u16string folder;
  bool ok;
  std::u16string workingFolder;
  std::u16string linkPath;
};

class BuildShortcutPathsTest : public ::testing::TestWithParam<ShortcutCase> {};

TEST_P(BuildShortcutPathsTest, NamesTheLinkAndTheWorkingFolder) {
  const ShortcutCase& c = GetParam();
  ShortcutPaths paths;
  paths.linkPath = u"untouched";
  const bool ok = BuildShortcutPaths(c.displayName ? &*c.displayName : nullptr, c.target, c.folder, &paths);
  ASSERT_EQ(ok, c.ok) << c.name;
  if (!ok) {
    EXPECT_EQ(Utf16ToUtf8(paths.linkPath), "untouched") << c.name;
    return;
  }
  EXPECT_EQ(Utf16ToUtf8(paths.workingFolder), Utf16ToUtf8(c.workingFolder)) << c.name;
  EXPECT_EQ(Utf16ToUtf8(paths.linkPath), Utf16ToUtf8(c.linkPath)) << c.name;
}

const std::u16string kLongFolder = u"C:\\" + std::u16string(250, u'f');

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildShortcutPathsTest,
    ::testing::Values(
        ShortcutCase{"name from target", std::nullopt, u"C:\\Dir\\Tool.exe", u"C:\\Menu", true, u"C:\\Dir",
                     u"C:\\Menu\\Tool.lnk"},
        ShortcutCase{"only the last extension goes", std::nullopt, u"C:\\Dir\\a.b.exe", u"C:\\Menu\\", true,
                     u"C:\\Dir", u"C:\\Menu\\a.b.lnk"},
        ShortcutCase{"given name kept as it is", u"Vantrel 4.05b", u"C:\\P\\V.exe", u"C:\\M", true, u"C:\\P",
                     u"C:\\M\\Vantrel 4.05b.lnk"},
        ShortcutCase{"name ending in lnk gets another", u"Tool.lnk", u"C:\\P\\V.exe", u"C:\\M", true, u"C:\\P",
                     u"C:\\M\\Tool.lnk.lnk"},
        ShortcutCase{"target at a root", std::nullopt, u"C:\\V.exe", u"C:\\M", true, u"C:\\", u"C:\\M\\V.lnk"},
        ShortcutCase{"empty target", u"Name", u"", u"C:\\M", false, u"", u""},
        ShortcutCase{"no file name in target", std::nullopt, u"C:\\", u"C:\\M", false, u"", u""},
        ShortcutCase{"link path too long", u"abcdefgh", u"C:\\P\\V.exe", kLongFolder, false, u"", u""}),
    [](const ::testing::TestParamInfo<ShortcutCase>& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

}  // namespace
}  // namespace qv
