#include "install/log_format.h"

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "system/utf16.h"
#include "tests/install/log_entry_text.h"

namespace qv {
namespace {

std::string Utf16File(const std::u16string& text) {
  return std::string(LOG_BYTE_ORDER_MARK, sizeof(LOG_BYTE_ORDER_MARK)) + EncodeUtf16Le(text);
}

using test::Describe;
using test::Entry;

struct EntryLineCase {
  const char* name;
  std::size_t index;
  LogEntry entry;
  std::u16string line;
};

void PrintTo(const EntryLineCase& c, std::ostream* out) { *out << c.name; }

class EntryLineFormat : public ::testing::TestWithParam<EntryLineCase> {};

TEST_P(EntryLineFormat, WritesIndexCodeDoneFlagAndText) {
  EXPECT_EQ(Utf16ToUtf8(GetParam().line), Utf16ToUtf8(FormatLogEntryLine(GetParam().index, GetParam().entry)));
}

const std::u16string kKeyText =
    u"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel 4";

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryLineFormat,
    ::testing::Values(
        EntryLineCase{"CreatedFolderHasRoleFF", 0, Entry(LOG_DIRECTORY, u"C:\\A", true, -1),
                      u"0000:00FF:1 -- C:\\A\r\n"},
        EntryLineCase{"MainProgram", 12, Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1),
                      u"0012:0101:1 -- C:\\A\\v.exe\r\n"},
        EntryLineCase{"NotDoneFile", 9999, Entry(LOG_FILE, u"C:\\A\\n", false, 4), u"9999:0104:0 -- C:\\A\\n\r\n"},
        EntryLineCase{"FiveDigitIndex", 10000, Entry(LOG_FILE, u"C:\\A\\o", true, 0),
                      u"10000:0100:1 -- C:\\A\\o\r\n"},
        EntryLineCase{"DesktopShortcut", 7, Entry(LOG_DESKTOP_SHORTCUT, u"C:\\D\\v.lnk", false, -1),
                      u"0007:04FF:0 -- C:\\D\\v.lnk\r\n"},
        EntryLineCase{"KeyShowsItsFullNameNotThePath", 3, Entry(LOG_UNINSTALL_KEY, u"stray", true, -1),
                      u"0003:05FF:1 -- " + kKeyText + u"\r\n"},
        EntryLineCase{"RegistrationShowsFixedText", 4, Entry(LOG_REGISTRATION, u"", true, -1),
                      u"0004:06FF:1 -- HKEY_CLASSES_ROOT\\...\r\n"}),
    [](const ::testing::TestParamInfo<EntryLineCase>& info) { return std::string(info.param.name); });

TEST(LogHeaderFormat, SeparatorIsAsLongAsTheShortcutLineInCharacters) {
  for (const std::u16string& folder : {std::u16string(), std::u16string(u"C:\\M\u040A\u00E9"),
                                       std::u16string(259, u'm')}) {
    LogHeaderTexts header{u"Vantrel 4.05b", u"", u"C:\\I", folder};
    const std::vector<std::u16string> lines = FormatLogLines(header, {});
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(u"// Shortcut Path : " + folder + u"\r\n", lines[4]);
    EXPECT_EQ(u"// " + std::u16string(16 + folder.size(), u'-') + u"\r\n", lines[5]);
  }
}

TEST(LogHeaderFormat, InstallLineNamesTheEarlierProductOnlyForAnUpdate) {
  EXPECT_EQ(u"// Install Vantrel 4.05b\r\n", FormatLogLines({u"Vantrel 4.05b", u"", u"", u""}, {})[2]);
  EXPECT_EQ(u"// Install Vantrel 4.05b -- Update (Vantrel 4.05b)\r\n",
            FormatLogLines({u"Vantrel 4.05b", u"Vantrel 4.05b", u"", u""}, {})[2]);
}

std::u16string Joined(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (const std::u16string& line : lines) text += line;
  return text;
}

TEST(LogParse, WrittenLinesReadBackWithKeyAndRegistrationPathsEmpty) {
  // U+040A, U+0A0D and U+0D0A carry a line-feed or carriage-return byte inside one character.
  const std::vector<LogEntry> written = {
      Entry(LOG_DIRECTORY, u"C:\\Q\\\u040A", true, -1),
      Entry(LOG_FILE, u"C:\\Q\\\u040A\\\u0A0D\u0D0A.txt", true, 0),
      Entry(LOG_FILE, u"C:\\Q\\main.exe", true, 1),
      Entry(LOG_FILE, u"C:\\Q\\uninstall.exe", false, 2),
      Entry(LOG_FILE, u"C:\\Q\\user.ini", true, 3),
      Entry(LOG_FILE, u"C:\\Q\\sample.dat", false, 4),
      Entry(LOG_MENU_SHORTCUT, u"C:\\M\\Vantrel.lnk", true, -1),
      Entry(LOG_UNINSTALL_SHORTCUT, u"C:\\M\\Uninstall.lnk", true, -1),
      Entry(LOG_DESKTOP_SHORTCUT, u"C:\\D\\Vantrel.lnk", false, -1),
      Entry(LOG_UNINSTALL_KEY, u"", true, -1),
      Entry(LOG_REGISTRATION, u"", false, -1),
  };
  const ParsedLog parsed = ParseLogText(
      Utf16File(Joined(FormatLogLines({u"Vantrel 4.05b", u"Vantrel 4.04", u"C:\\Q\\\u040A", u"C:\\M"}, written))));
  EXPECT_EQ(Describe(written), Describe(parsed.entries));
  EXPECT_EQ(u"Vantrel 4.05b", parsed.previousProductName);
  EXPECT_EQ(u"C:\\Q\\\u040A", parsed.installPathText);
  EXPECT_EQ(u"C:\\M", parsed.shortcutPathText);
}

TEST(LogParse, AnsiLogReadsLikeItsUtf16Form) {
  const std::string ansi =
      "// Uninstall Log File v1\r\n// W\r\n// Install Vantrel 4.04\r\n// Install Path : C:\\Caf\xE9\r\n"
      "// Shortcut Path : C:\\M\r\n// ----\r\n0000:00FF:1 -- C:\\Caf\xE9\r\n"
      "0001:0100:0 -- C:\\Caf\xE9\\r\xE9sum\xE9 \x80.txt\n0002:05FF:1 -- HKEY";
  const std::u16string wide =
      u"// Uninstall Log File v1\r\n// W\r\n// Install Vantrel 4.04\r\n// Install Path : C:\\Caf\u00E9\r\n"
      u"// Shortcut Path : C:\\M\r\n// ----\r\n0000:00FF:1 -- C:\\Caf\u00E9\r\n"
      u"0001:0100:0 -- C:\\Caf\u00E9\\r\u00E9sum\u00E9 \u20AC.txt\n0002:05FF:1 -- HKEY";
  const ParsedLog fromAnsi = ParseLogText(ansi);
  const ParsedLog fromWide = ParseLogText(Utf16File(wide));
  EXPECT_EQ(Describe(fromWide.entries), Describe(fromAnsi.entries));
  EXPECT_EQ(3u, fromAnsi.entries.size());
  EXPECT_EQ(u"C:\\Caf\u00E9\\r\u00E9sum\u00E9 \u20AC.txt", fromAnsi.entries[1].path);
  EXPECT_EQ(fromWide.installPathText, fromAnsi.installPathText);
  EXPECT_EQ(u"Vantrel 4.04", fromAnsi.previousProductName);
}

const std::u16string kHeader =
    u"// Uninstall Log File v1\r\n// W\r\n// Install Vantrel 4.04\r\n// Install Path : C:\\A\r\n"
    u"// Shortcut Path : C:\\M\r\n// -------------------\r\n";
const std::u16string kEntry0 = u"0000:0101:1 -- C:\\A\\a.exe\r\n";
const std::u16string kEntry1 = u"0001:0100:0 -- C:\\A\\b.txt\r\n";

struct ReadCase {
  const char* name;
  std::u16string text;
  std::size_t entries;
  std::u16string product;
  std::u16string install;
  std::u16string shortcut;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }

class LogRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(LogRead, KeepsWhatCameBeforeTheFirstDamagedLine) {
  const ReadCase& c = GetParam();
  const ParsedLog parsed = ParseLogText(Utf16File(c.text));
  EXPECT_EQ(c.entries, parsed.entries.size());
  EXPECT_EQ(Utf16ToUtf8(c.product), Utf16ToUtf8(parsed.previousProductName));
  EXPECT_EQ(Utf16ToUtf8(c.install), Utf16ToUtf8(parsed.installPathText));
  EXPECT_EQ(Utf16ToUtf8(c.shortcut), Utf16ToUtf8(parsed.shortcutPathText));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogRead,
    ::testing::Values(
        ReadCase{"WholeLog", kHeader + kEntry0 + kEntry1, 2, u"Vantrel 4.04", u"C:\\A", u"C:\\M"},
        ReadCase{"EmptyLinesDoNotShiftHeaderLines",
                 u"\r\n// Uninstall Log File v1\r\n  \r\n// W\r\n\r\n\t\r\n// Install Vantrel 4.04\r\n"
                 u"// Install Path : C:\\A\r\n\r\n// Shortcut Path : C:\\M\r\n// ---\r\n\r\n" +
                     kEntry0 + u"\r\n" + kEntry1,
                 2, u"Vantrel 4.04", u"C:\\A", u"C:\\M"},
        ReadCase{"LooseHeaderSpelling",
                 u"//Uninstall Log File v1 beta\r\n// W\r\n///   Install  Vantrel 4.05b -- Update (Vantrel 4.04)\r\n"
                 u"// Install Path :: : C:\\A  \r\n// Shortcut Path:C:\\M\r\n" +
                     kEntry0,
                 1, u"Vantrel 4.05b", u"C:\\A", u"C:\\M"},
        ReadCase{"CommentAmongEntriesIsIgnored", kHeader + kEntry0 + u"// note\r\n" + kEntry1, 2, u"Vantrel 4.04",
                 u"C:\\A", u"C:\\M"},
        ReadCase{"EntryBeforeHeader", kEntry0 + kHeader + kEntry1, 0, u"", u"", u""},
        ReadCase{"VersionTwo", u"// Uninstall Log File v2\r\n" + kHeader.substr(26) + kEntry0, 0, u"", u"", u""},
        ReadCase{"VersionNotANumber", u"// Uninstall Log File vX\r\n" + kHeader.substr(26) + kEntry0, 0, u"", u"",
                 u""},
        ReadCase{"VersionWordTwice", u"// Uninstall Log File v1 Uninstall Log File v\r\n" + kHeader.substr(26) + kEntry0,
                 0, u"", u"", u""},
        ReadCase{"ProductNameHoldsInstall",
                 u"// Uninstall Log File v1\r\n// W\r\n// Install Install Kit 2\r\n// Install Path : C:\\A\r\n"
                 u"// Shortcut Path : C:\\M\r\n" +
                     kEntry0,
                 0, u"", u"", u""},
        ReadCase{"FolderNameHoldsInstallPath",
                 u"// Uninstall Log File v1\r\n// W\r\n// Install Vantrel 4.04\r\n"
                 u"// Install Path : C:\\Install Path\r\n// Shortcut Path : C:\\M\r\n" +
                     kEntry0,
                 0, u"Vantrel 4.04", u"", u""},
        ReadCase{"ShortcutLineMisnamed",
                 u"// Uninstall Log File v1\r\n// W\r\n// Install Vantrel 4.04\r\n"
                 u"// Install Path : C:\\A\r\n// Menu Path : C:\\M\r\n" +
                     kEntry0,
                 0, u"Vantrel 4.04", u"C:\\A", u""},
        ReadCase{"FiveDigitIndex", kHeader + kEntry0 + u"10000:0100:1 -- C:\\A\\c\r\n" + kEntry1, 1, u"Vantrel 4.04",
                 u"C:\\A", u"C:\\M"},
        ReadCase{"IndexNotDecimal", kHeader + kEntry0 + u"00x1:0100:1 -- C:\\A\\c\r\n", 1, u"Vantrel 4.04", u"C:\\A",
                 u"C:\\M"},
        ReadCase{"IndexWithoutColon", kHeader + kEntry0 + u"0001;0100:1 -- C:\\A\\c\r\n", 1, u"Vantrel 4.04",
                 u"C:\\A", u"C:\\M"},
        ReadCase{"CodeNotHex", kHeader + kEntry0 + u"0001:01G0:1 -- C:\\A\\c\r\n", 1, u"Vantrel 4.04", u"C:\\A",
                 u"C:\\M"},
        ReadCase{"KindSeven", kHeader + kEntry0 + u"0001:0701:1 -- C:\\A\\c\r\n", 1, u"Vantrel 4.04", u"C:\\A",
                 u"C:\\M"},
        ReadCase{"NegativeCode", kHeader + kEntry0 + u"0001:-0FF:1 -- C:\\A\\c\r\n", 1, u"Vantrel 4.04", u"C:\\A",
                 u"C:\\M"},
        ReadCase{"CodeWithoutColon", kHeader + kEntry0 + u"0001:0100-1 -- C:\\A\\c\r\n", 1, u"Vantrel 4.04",
                 u"C:\\A", u"C:\\M"},
        ReadCase{"DoneFlagTwo", kHeader + kEntry0 + u"0001:0100:2 -- C:\\A\\c\r\n", 1, u"Vantrel 4.04", u"C:\\A",
                 u"C:\\M"},
        ReadCase{"DoneFlagMissing", kHeader + kEntry0 + u"0001:0100:\r\n" + kEntry1, 1, u"Vantrel 4.04", u"C:\\A",
                 u"C:\\M"},
        ReadCase{"CodeCut", kHeader + kEntry0 + u"0001:010\r\n" + kEntry1, 1, u"Vantrel 4.04", u"C:\\A", u"C:\\M"},
        ReadCase{"IndexOnly", kHeader + kEntry0 + u"0001\r\n" + kEntry1, 1, u"Vantrel 4.04", u"C:\\A", u"C:\\M"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(LogParse, EntryFieldsAreTakenFromTheLine) {
  const ParsedLog parsed = ParseLogText(Utf16File(
      kHeader + u"0000:0103:0 --  - C:\\A\\keep.ini \r\n0001:05FF:1 -- HKEY_LOCAL_MACHINE\\x\r\n0002:02FF:1 C:\\M\\v.lnk"));
  EXPECT_EQ(Describe({Entry(LOG_FILE, u"C:\\A\\keep.ini", false, 3), Entry(LOG_UNINSTALL_KEY, u"", true, -1),
                      Entry(LOG_MENU_SHORTCUT, u"C:\\M\\v.lnk", true, -1)}),
            Describe(parsed.entries));
}

struct LineLengthCase {
  const char* name;
  bool utf16;
  std::size_t pathLength;
  bool terminated;
  bool read;
};

void PrintTo(const LineLengthCase& c, std::ostream* out) { *out << c.name; }

class LogLineLength : public ::testing::TestWithParam<LineLengthCase> {};

// A line may hold 1,022 bytes with its line end: 511 UTF-16 units or 1,022 ANSI bytes.
TEST_P(LogLineLength, LongerLineStopsTheReading) {
  const LineLengthCase& c = GetParam();
  std::u16string text = kHeader + kEntry0 + u"0001:0100:1 -- " + std::u16string(c.pathLength, u'p');
  if (c.terminated) text += u"\r\n0002:0100:1 -- C:\\x\r\n";
  const ParsedLog parsed = ParseLogText(c.utf16 ? Utf16File(text) : Utf16ToUtf8(text));
  ASSERT_EQ(c.read ? (c.terminated ? 3u : 2u) : 1u, parsed.entries.size());
  if (c.read) {
    EXPECT_EQ(c.pathLength, parsed.entries[1].path.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LogLineLength,
                         ::testing::Values(LineLengthCase{"Utf16Longest", true, 494, true, true},
                                           LineLengthCase{"Utf16OneTooLong", true, 495, true, false},
                                           LineLengthCase{"Utf16LastLineLongest", true, 496, false, true},
                                           LineLengthCase{"Utf16LastLineOneTooLong", true, 497, false, false},
                                           LineLengthCase{"Utf16Path1000", true, 1000, true, false},
                                           LineLengthCase{"AnsiLongest", false, 1005, true, true},
                                           LineLengthCase{"AnsiOneTooLong", false, 1006, true, false},
                                           LineLengthCase{"AnsiLastLineLongest", false, 1007, false, true},
                                           LineLengthCase{"AnsiLastLineOneTooLong", false, 1008, false, false}),
                         [](const ::testing::TestParamInfo<LineLengthCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(LogParse, OddTrailingByteOfUtf16LogIsIgnored) {
  const ParsedLog parsed = ParseLogText(Utf16File(kHeader + kEntry0 + u"0001:0100:1 -- C:\\A\\b") + "\x41");
  ASSERT_EQ(2u, parsed.entries.size());
  EXPECT_EQ(u"C:\\A\\b", parsed.entries[1].path);
}

}  // namespace
}  // namespace qv
