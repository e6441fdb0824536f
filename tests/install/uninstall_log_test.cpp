#include "install/uninstall_log.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "install/log_format.h"
#include "install/shell_item.h"
#include "system/file_io.h"
#include "system/utf16.h"
#include "tests/install/log_entry_text.h"
#include "tests/install/scratch_folder.h"

namespace qv {
namespace {

using test::Describe;
using test::Entry;
using test::ScratchFolder;

std::string ReadBytes(const std::u16string& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::u16string& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << bytes;
}

std::u16string FixturePath(const char* name) {
  return Utf8ToUtf16(std::string(QV_TEST_DATA_DIR) + "/install/" + name);
}

const std::u16string kInstallFolder = u"C:\\Program Files\\Quorvik\\Vantrel";
const std::u16string kMenuFolder = u"C:\\ProgramData\\Start Menu\\Programs\\Vantrel \u040A";

// The entries behind tests/data/install/update.ulog.
std::vector<LogEntry> FixtureEntries() {
  return {
      Entry(LOG_DIRECTORY, u"C:\\Program Files\\Quorvik", true),
      Entry(LOG_DIRECTORY, kInstallFolder, true),
      Entry(LOG_FILE, kInstallFolder + u"\\Vantrel.exe", true, 1),
      Entry(LOG_FILE, kInstallFolder + u"\\Uninstall.exe", false, 2),
      Entry(LOG_FILE, kInstallFolder + u"\\Notes \u040A.txt", true, 0),
      Entry(LOG_FILE, kInstallFolder + u"\\Settings.ini", true, 3),
      Entry(LOG_MENU_SHORTCUT, kMenuFolder + u"\\Vantrel.lnk", true),
      Entry(LOG_UNINSTALL_SHORTCUT, kMenuFolder + u"\\Uninstall Vantrel.lnk", true),
      Entry(LOG_DESKTOP_SHORTCUT, u"C:\\Users\\Public\\Desktop\\Vantrel.lnk", false),
      Entry(LOG_UNINSTALL_KEY, u"", true),
      Entry(LOG_REGISTRATION, u"", true),
  };
}

TEST(WriteLog, WritesTheExactFileTheUninstallerReads) {
  ScratchFolder folder;
  UninstallLog log;
  log.productName = u"Vantrel 4.05b";
  log.previousProductName = u"Vantrel 4.04";
  log.entries = FixtureEntries();
  const std::u16string path = folder.Child(u"Uninstall.ulog");
  ASSERT_TRUE(log.WriteLog(path, kInstallFolder, kMenuFolder));
  const std::string expected = ReadBytes(FixturePath("update.ulog"));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(expected, ReadBytes(path));
}

TEST(ReadLog, ReadsBackWhatWriteLogWroteWithFoldersThatExist) {
  ScratchFolder folder;
  const std::u16string installFolder = folder.Child(u"Vantrel \u040A");
  std::filesystem::create_directories(std::filesystem::path(installFolder));
  const std::u16string path = folder.Child(u"Uninstall.ulog");
  UninstallLog written;
  written.productName = u"Vantrel 4.05b";
  written.entries = FixtureEntries();
  // A file where the menu folder was is no folder to reuse.
  const std::u16string menuFile = folder.Child(u"menu");
  WriteBytes(menuFile, "not a folder");
  ASSERT_TRUE(written.WriteLog(path, installFolder, menuFile));

  UninstallLog read;
  read.ReadLog(path, u"Vantrel 4.06");
  EXPECT_EQ(u"Vantrel 4.06", read.productName);
  EXPECT_EQ(u"Vantrel 4.05b", read.previousProductName);
  EXPECT_EQ(installFolder, read.installPath);
  EXPECT_EQ(u"", read.shortcutPath);
  std::vector<LogEntry> expected = FixtureEntries();
  EXPECT_EQ(Describe(expected), Describe(read.previousEntries));
  EXPECT_TRUE(read.entries.empty());
}

TEST(ReadLog, MissingOrUnnamedLogLeavesOnlyTheProductName) {
  ScratchFolder folder;
  for (const std::u16string& path : {std::u16string(), folder.Child(u"absent.ulog"), folder.Path()}) {
    UninstallLog log;
    log.installPath = u"stale";
    log.shortcutPath = u"stale";
    log.previousProductName = u"stale";
    log.previousEntries = {Entry(LOG_FILE, u"C:\\stale", true, 0)};
    log.ReadLog(path, u"Vantrel 4.05b");
    EXPECT_EQ(u"Vantrel 4.05b", log.productName);
    EXPECT_EQ(u"", log.installPath);
    EXPECT_EQ(u"", log.shortcutPath);
    EXPECT_EQ(u"", log.previousProductName);
    EXPECT_TRUE(log.previousEntries.empty());
  }
}

TEST(ReadLog, PathsUpToTheLineLimitComeBackWholeAndALongerOneEndsTheLog) {
  ScratchFolder folder;
  UninstallLog written;
  written.productName = u"Vantrel 4.05b";
  for (std::size_t length : {259u, 260u, 261u, 1000u, 20u}) {
    written.entries.push_back(Entry(LOG_FILE, u"C:\\" + std::u16string(length - 3, u'\u040A'), true, 0));
  }
  const std::vector<LogEntry> all = written.entries;
  const std::u16string path = folder.Child(u"Uninstall.ulog");
  ASSERT_TRUE(written.WriteLog(path, u"C:\\I", u"C:\\M"));

  UninstallLog read;
  read.ReadLog(path, u"Vantrel 4.05b");
  EXPECT_EQ(Describe({all[0], all[1], all[2]}), Describe(read.previousEntries));
}

TEST(ReadLog, OnlyTheFirstTenThousandEntriesOfALogAreRead) {
  ScratchFolder folder;
  UninstallLog written;
  written.productName = u"Vantrel 4.05b";
  for (int i = 0; i < 10002; ++i) {
    written.entries.push_back(Entry(LOG_FILE, u"C:\\A\\" + Utf8ToUtf16(std::to_string(i)), i % 2 == 0, i % 5));
  }
  const std::u16string path = folder.Child(u"Uninstall.ulog");
  ASSERT_TRUE(written.WriteLog(path, u"C:\\I", u"C:\\M"));
  const std::string bytes = ReadBytes(path);
  EXPECT_NE(std::string::npos, bytes.find(EncodeUtf16Le(u"\r\n10001:0101:0 -- C:\\A\\10001\r\n")));

  UninstallLog read;
  read.ReadLog(path, u"Vantrel 4.05b");
  ASSERT_EQ(10000u, read.previousEntries.size());
  EXPECT_EQ(u"C:\\A\\9999", read.previousEntries.back().path);
  EXPECT_EQ(4, read.previousEntries.back().role);
}

TEST(WriteLog, WrittenLogIsReadOnlyAndIsReplacedByTheNextWrite) {
  ScratchFolder folder;
  const std::u16string path = folder.Child(u"Uninstall.ulog");
  for (const char16_t* product : {u"Vantrel 4.04", u"Vantrel 4.05b"}) {
    UninstallLog log;
    log.productName = product;
    ASSERT_TRUE(log.WriteLog(path, u"C:\\I", u"C:\\M"));
  }
  const std::uint32_t attributes = GetFileAttributesOf(path);
#ifdef _WIN32
  // Wine keeps read-only and archive but drops "not content indexed" (0x2000).
  const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  EXPECT_EQ(underWine ? 0x21u : 0x2021u, attributes);
#else
  // The POSIX layer keeps only the read-only attribute.
  EXPECT_EQ(kFileAttributeReadOnly, attributes);
#endif
  EXPECT_NE(std::string::npos, ReadBytes(path).find(EncodeUtf16Le(u"// Install Vantrel 4.05b\r\n")));
}

// Backups are made by change recording: temporary files, one of them read-only.
std::vector<std::u16string> MakeBackups(const ScratchFolder& folder, UninstallLog& log) {
  std::vector<std::u16string> backups = {folder.Child(u"qv1.tmp"), folder.Child(u"qv2.tmp")};
  for (const std::u16string& backup : backups) WriteBytes(backup, "old");
  SetFileAttributesOf(backups[1], kFileAttributeReadOnly);
  log.entries = {Entry(LOG_FILE, folder.Child(u"a.txt"), true, 0), Entry(LOG_FILE, folder.Child(u"b.txt"), true, 0),
                 Entry(LOG_MENU_SHORTCUT, folder.Child(u"v.lnk"), true)};
  log.entries[0].backupPath = backups[0];
  log.entries[2].backupPath = backups[1];
  return backups;
}

TEST(WriteLog, BackupsAreDeletedEvenWhenTheLogCannotBeCreated) {
  ScratchFolder folder;
  for (bool creatable : {true, false}) {
    SCOPED_TRACE(creatable);
    UninstallLog log;
    const std::vector<std::u16string> backups = MakeBackups(folder, log);
    const std::u16string path = creatable ? folder.Child(u"Uninstall.ulog") : folder.Child(u"missing\\Uninstall.ulog");
    EXPECT_EQ(creatable, log.WriteLog(path, u"C:\\I", u"C:\\M"));
    for (const std::u16string& backup : backups) EXPECT_FALSE(FileExists(backup)) << Utf16ToUtf8(backup);
    for (const LogEntry& entry : log.entries) EXPECT_TRUE(entry.backupPath.empty());
  }
}

TEST(WriteLog, FailedLineIsReportedAndTheLinesAfterItAreStillWritten) {
  ScratchFolder folder;
  UninstallLog log;
  log.productName = u"Vantrel 4.05b";
  log.entries = {Entry(LOG_FILE, u"C:\\A\\a", true, 0), Entry(LOG_FILE, u"C:\\A\\b", true, 0)};
  const std::u16string path = folder.Child(u"Uninstall.ulog");
  // Attributes, creation, byte order mark, six header lines: the seventh write is entry 0.
  InjectFileFault(10, kErrorDiskFull);
  const bool written = log.WriteLog(path, u"C:\\I", u"C:\\M");
  InjectFileFault(0, 0);
  EXPECT_FALSE(written);
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(std::string::npos, bytes.find(EncodeUtf16Le(u"0000:0100:1")));
  EXPECT_NE(std::string::npos, bytes.find(EncodeUtf16Le(u"\r\n0001:0100:1 -- C:\\A\\b\r\n")));
}

TEST(WriteLog, UpdateOfAnUpdateNamesOnlyTheProductOfTheLogRead) {
  ScratchFolder folder;
  const std::u16string earlier = folder.Child(u"earlier.ulog");
  WriteBytes(earlier, ReadBytes(FixturePath("update.ulog")));
  UninstallLog log;
  log.ReadLog(earlier, u"Vantrel 4.06");
  ASSERT_EQ(u"Vantrel 4.05b", log.previousProductName);
  log.entries = {Entry(LOG_FILE, kInstallFolder + u"\\Vantrel.exe", true, 1),
                 Entry(LOG_MENU_SHORTCUT, kMenuFolder + u"\\Vantrel 4.06.lnk", true)};
  const std::u16string path = folder.Child(u"Uninstall.ulog");
  ASSERT_TRUE(log.WriteLog(path, kInstallFolder, kMenuFolder));
  EXPECT_TRUE(log.previousEntries.empty());

  const std::string bytes = ReadBytes(path);
  EXPECT_NE(std::string::npos, bytes.find(EncodeUtf16Le(u"// Install Vantrel 4.06 -- Update (Vantrel 4.05b)\r\n")));
  UninstallLog read;
  read.ReadLog(path, u"Vantrel 4.06");
  std::vector<LogEntry> fixture = FixtureEntries();
  EXPECT_EQ(Describe({fixture[0], fixture[1], fixture[3], fixture[4], fixture[5], fixture[7], fixture[8], fixture[9],
                      fixture[10], log.entries[9], log.entries[10]}),
            Describe(read.previousEntries));
  EXPECT_NE(std::string::npos, bytes.find(EncodeUtf16Le(u"\r\n0002:0102:0 -- " + kInstallFolder + u"\\Uninstall.exe\r\n")));
}

struct InstalledBeforeCase {
  const char* name;
  std::u16string path;
  bool installed;
};

void PrintTo(const InstalledBeforeCase& c, std::ostream* out) { *out << c.name; }

class WasInstalledBefore : public ::testing::TestWithParam<InstalledBeforeCase> {};

TEST_P(WasInstalledBefore, OnlyAFileTheEarlierRunWroteCounts) {
  UninstallLog log;
  log.previousEntries = {Entry(LOG_DIRECTORY, u"C:\\A", true), Entry(LOG_FILE, u"C:\\A\\v.exe", true, 1),
                         Entry(LOG_FILE, u"C:\\A\\half.dat", false, 0),
                         Entry(LOG_DESKTOP_SHORTCUT, u"C:\\D\\v.lnk", true)};
  log.entries = {Entry(LOG_FILE, u"C:\\A\\new.txt", true, 0)};
  EXPECT_EQ(GetParam().installed, log.WasInstalledBefore(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(Cases, WasInstalledBefore,
                         ::testing::Values(InstalledBeforeCase{"DoneFile", u"C:\\A\\v.exe", true},
                                           InstalledBeforeCase{"OtherCase", u"C:\\A\\V.exe", false},
                                           InstalledBeforeCase{"FileNotDone", u"C:\\A\\half.dat", false},
                                           InstalledBeforeCase{"Folder", u"C:\\A", false},
                                           InstalledBeforeCase{"Shortcut", u"C:\\D\\v.lnk", false},
                                           InstalledBeforeCase{"ThisRunsFile", u"C:\\A\\new.txt", false},
                                           InstalledBeforeCase{"Empty", u"", false}),
                         [](const ::testing::TestParamInfo<InstalledBeforeCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(IsSameShellItem, SameExistingItemSpeltTwoWaysMatches) {
  ScratchFolder folder;
  const std::u16string child = folder.Child(u"Data");
  std::filesystem::create_directories(std::filesystem::path(child));
  EXPECT_TRUE(IsSameShellItem(u"C:\\Nowhere\\x", u"C:\\Nowhere\\x"));
  EXPECT_FALSE(IsSameShellItem(u"C:\\Nowhere\\x", u"C:\\Nowhere\\y"));
  EXPECT_FALSE(IsSameShellItem(child, folder.Path()));
#ifdef _WIN32
  std::u16string upper = child;
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  }
  EXPECT_TRUE(IsSameShellItem(child, upper));
  EXPECT_FALSE(IsSameShellItem(u"C:\\Nowhere\\x", u"c:\\nowhere\\X"));
#else
  const std::u16string link = folder.Child(u"Link");
  std::filesystem::create_directory_symlink(std::filesystem::path(child), std::filesystem::path(link));
  EXPECT_TRUE(IsSameShellItem(child, link));
#endif
}

}  // namespace
}  // namespace qv
