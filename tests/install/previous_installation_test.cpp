#include "app/previous_installation.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/setup_state.h"
#include "system/utf16.h"

namespace qv {
namespace {

constexpr std::uint64_t Version(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
  return a << 48 | b << 32 | c << 16 | d;
}

struct VersionCase {
  std::uint64_t installed;
  std::int32_t state;
};

class PreviousStateTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(PreviousStateTest, ComparesWordByWordAsUnsignedNumbers) {
  EXPECT_EQ(PreviousStateForVersion(GetParam().installed), GetParam().state)
      << std::hex << "installed version 0x" << GetParam().installed;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PreviousStateTest,
    ::testing::Values(VersionCase{Version(4, 5, 2, 2), PREVIOUS_SAME}, VersionCase{0, PREVIOUS_SAME},
                      VersionCase{Version(4, 5, 2, 1), PREVIOUS_OLDER}, VersionCase{Version(4, 4, 9, 9), PREVIOUS_OLDER},
                      VersionCase{Version(3, 99, 0, 0), PREVIOUS_OLDER}, VersionCase{Version(0, 0, 0, 1), PREVIOUS_OLDER},
                      VersionCase{Version(4, 5, 2, 3), PREVIOUS_NEWER}, VersionCase{Version(4, 6, 0, 0), PREVIOUS_NEWER},
                      VersionCase{Version(5, 0, 0, 0), PREVIOUS_NEWER},
                      VersionCase{Version(4, 5, 65535, 0), PREVIOUS_NEWER},
                      VersionCase{Version(65535, 0, 0, 0), PREVIOUS_NEWER}));

TEST(ChooseUninstallLogTest, PrefersTheUninstallersFolderAndFallsBackToTheProgramsFolder) {
  const std::set<std::u16string> existing = {u"C:\\Prog\\Uninstall.ulog", u"C:\\Both\\Uninstall.ulog"};
  auto exists = [&](const std::u16string& path) { return existing.count(path) != 0; };
  EXPECT_EQ(Utf16ToUtf8(ChooseUninstallLog(u"C:\\Both\\Uninstall.exe", u"C:\\Prog\\V.exe", exists)),
            "C:\\Both\\Uninstall.ulog");
  EXPECT_EQ(Utf16ToUtf8(ChooseUninstallLog(u"C:\\Elsewhere\\Uninstall.exe", u"C:\\Prog\\V.exe", exists)),
            "C:\\Prog\\Uninstall.ulog");
  EXPECT_EQ(Utf16ToUtf8(ChooseUninstallLog(std::nullopt, u"C:\\Prog\\V.exe", exists)), "C:\\Prog\\Uninstall.ulog");
  EXPECT_EQ(Utf16ToUtf8(ChooseUninstallLog(u"C:\\Elsewhere\\Uninstall.exe", u"", exists)), "");
  EXPECT_EQ(Utf16ToUtf8(ChooseUninstallLog(u"Uninstall.exe", u"V.exe", exists)), "")
      << "a bare file name has no folder to look in";
}

TEST(UninstallLogBesideTest, ReplacesTheFileNameWithinThePathLimit) {
  EXPECT_EQ(Utf16ToUtf8(UninstallLogBeside(u"C:\\A\\Uninstall.exe")), "C:\\A\\Uninstall.ulog");
  EXPECT_EQ(Utf16ToUtf8(UninstallLogBeside(u"C:\\Uninstall.exe")), "C:\\Uninstall.ulog");
  // A 259-character uninstaller path is used whole; its folder plus the log name must fit.
  const std::u16string folder = u"C:\\" + std::u16string(240, u'd');
  EXPECT_EQ(UninstallLogBeside(folder + u"\\" + std::u16string(259 - folder.size() - 1, u'u')),
            folder + u"\\Uninstall.ulog");
  EXPECT_EQ(UninstallLogBeside(u"C:\\" + std::u16string(250, u'd') + u"\\U.exe"), u"");
}

}  // namespace
}  // namespace qv
