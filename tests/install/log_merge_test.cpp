#include "install/log_merge.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/install/log_entry_text.h"

namespace qv {
namespace {

// The shell compares file names without regard to case.
bool SameIgnoringAsciiCase(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

using test::Describe;
using test::Entry;

struct MergeCase {
  const char* name;
  std::vector<LogEntry> previous;
  std::vector<LogEntry> current;
  std::vector<LogEntry> merged;
};

void PrintTo(const MergeCase& c, std::ostream* out) { *out << c.name; }

class LogMerge : public ::testing::TestWithParam<MergeCase> {};

TEST_P(LogMerge, KeepsEarlierEntriesThisRunDidNotSupersede) {
  const MergeCase& c = GetParam();
  EXPECT_EQ(Describe(c.merged), Describe(MergeLogEntries(c.previous, c.current, SameIgnoringAsciiCase)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogMerge,
    ::testing::Values(
        MergeCase{"RewrittenFileKeepsOnlyTheNewEntry",
                  {Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1)},
                  {Entry(LOG_FILE, u"C:\\A\\v.exe", false, 0)},
                  {Entry(LOG_FILE, u"C:\\A\\v.exe", false, 0)}},
        MergeCase{"SameFileInOtherCaseIsSuperseded",
                  {Entry(LOG_DIRECTORY, u"C:\\A"), Entry(LOG_FILE, u"C:\\A\\V.EXE", true, 1)},
                  {Entry(LOG_DIRECTORY, u"c:\\a"), Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1)},
                  {Entry(LOG_DIRECTORY, u"c:\\a"), Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1)}},
        MergeCase{"SkippedFilesAreCarriedOverInTheirOrderBeforeThisRun",
                  {Entry(LOG_DIRECTORY, u"C:\\A"), Entry(LOG_FILE, u"C:\\A\\user.ini", true, 3),
                   Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1), Entry(LOG_FILE, u"C:\\A\\data.db", true, 4)},
                  {Entry(LOG_FILE, u"C:\\A\\v.exe", false, 1), Entry(LOG_FILE, u"C:\\A\\new.txt", true, 0)},
                  {Entry(LOG_DIRECTORY, u"C:\\A"), Entry(LOG_FILE, u"C:\\A\\user.ini", true, 3),
                   Entry(LOG_FILE, u"C:\\A\\data.db", true, 4), Entry(LOG_FILE, u"C:\\A\\v.exe", false, 1),
                   Entry(LOG_FILE, u"C:\\A\\new.txt", true, 0)}},
        MergeCase{"SamePathOfAnotherKindIsKept",
                  {Entry(LOG_DIRECTORY, u"C:\\A\\x")},
                  {Entry(LOG_FILE, u"C:\\A\\x", true, 0)},
                  {Entry(LOG_DIRECTORY, u"C:\\A\\x"), Entry(LOG_FILE, u"C:\\A\\x", true, 0)}},
        MergeCase{"NewMenuShortcutDropsEveryEarlierOne",
                  {Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Vantrel 4.04.lnk"), Entry(LOG_FILE, u"C:\\A\\k", true, 3),
                   Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Vantrel Help.lnk")},
                  {Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Vantrel 4.05b.lnk")},
                  {Entry(LOG_FILE, u"C:\\A\\k", true, 3), Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Vantrel 4.05b.lnk")}},
        MergeCase{"EarlierShortcutsStayWhenThisRunMadeNone",
                  {Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Vantrel.lnk"), Entry(LOG_UNINSTALL_SHORTCUT, u"C:\\M\\U.lnk"),
                   Entry(LOG_DESKTOP_SHORTCUT, u"C:\\D\\Vantrel.lnk")},
                  {Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1)},
                  {Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Vantrel.lnk"), Entry(LOG_UNINSTALL_SHORTCUT, u"C:\\M\\U.lnk"),
                   Entry(LOG_DESKTOP_SHORTCUT, u"C:\\D\\Vantrel.lnk"), Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1)}},
        MergeCase{"OfTwoEarlierEntriesOfOneKindTheLaterSurvives",
                  {Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Old.lnk"), Entry(LOG_UNINSTALL_KEY, u""),
                   Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Newer.lnk"), Entry(LOG_UNINSTALL_KEY, u"", false),
                   Entry(LOG_FILE, u"C:\\A\\f", true, 0), Entry(LOG_FILE, u"c:\\a\\F", false, 0)},
                  {},
                  {Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Newer.lnk"), Entry(LOG_UNINSTALL_KEY, u"", false),
                   Entry(LOG_FILE, u"c:\\a\\F", false, 0)}},
        MergeCase{"KeyAndRegistrationOfThisRunReplaceTheEarlierOnes",
                  {Entry(LOG_UNINSTALL_KEY, u""), Entry(LOG_REGISTRATION, u""), Entry(LOG_DESKTOP_SHORTCUT, u"C:\\D\\v.lnk")},
                  {Entry(LOG_UNINSTALL_KEY, u"", false), Entry(LOG_REGISTRATION, u"", false)},
                  {Entry(LOG_DESKTOP_SHORTCUT, u"C:\\D\\v.lnk"), Entry(LOG_UNINSTALL_KEY, u"", false),
                   Entry(LOG_REGISTRATION, u"", false)}}),
    [](const ::testing::TestParamInfo<MergeCase>& info) { return std::string(info.param.name); });

TEST(LogMerge, ThisRunsBackupsSurviveTheMerge) {
  std::vector<LogEntry> current = {Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1)};
  current[0].backupPath = u"C:\\T\\qv1.tmp";
  const std::vector<LogEntry> merged =
      MergeLogEntries({Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1)}, current, SameIgnoringAsciiCase);
  ASSERT_EQ(1u, merged.size());
  EXPECT_EQ(u"C:\\T\\qv1.tmp", merged[0].backupPath);
}

}  // namespace
}  // namespace qv
