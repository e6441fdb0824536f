#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "install/folder_chain.h"
#include "install/uninstall_log.h"
#include "system/file_io.h"
#include "system/utf16.h"
#include "tests/install/log_entry_text.h"
#include "tests/install/scratch_folder.h"

namespace qv {
namespace {

using test::Describe;
using test::Entry;
using test::ScratchFolder;

// The product spells paths with backslashes; the file layer maps them, and so must the test.
std::filesystem::path Fs(const std::u16string& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  std::u16string native = path;
  for (char16_t& c : native) {
    if (c == u'\\') c = u'/';
  }
  return std::filesystem::path(native);
#endif
}

std::string ReadBytes(const std::u16string& path) {
  std::ifstream in(Fs(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::u16string& path, const std::string& bytes) {
  std::ofstream out(Fs(path), std::ios::binary);
  out << bytes;
}

bool IsReadOnly(const std::u16string& path) {
  const std::uint32_t attributes = GetFileAttributesOf(path);
  return attributes != kInvalidFileAttributes && (attributes & kFileAttributeReadOnly) != 0;
}

bool IsFolder(const std::u16string& path) { return std::filesystem::is_directory(Fs(path)); }

// Points the user's temporary folder elsewhere for one test.
class TempFolderOverride {
 public:
  explicit TempFolderOverride(const std::u16string& folder) {
#ifdef _WIN32
    wchar_t old[MAX_PATH + 1] = {};
    had_ = GetEnvironmentVariableW(L"TMP", old, MAX_PATH + 1) != 0;
    old_ = FromWide(old);
    SetEnvironmentVariableW(L"TMP", AsWide(folder));
#else
    const char* old = std::getenv("TMPDIR");
    had_ = old != nullptr;
    if (had_) old_ = Utf8ToUtf16(old);
    setenv("TMPDIR", Utf16ToUtf8(folder).c_str(), 1);
#endif
  }
  ~TempFolderOverride() {
#ifdef _WIN32
    SetEnvironmentVariableW(L"TMP", had_ ? AsWide(old_) : nullptr);
#else
    if (had_) {
      setenv("TMPDIR", Utf16ToUtf8(old_).c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
#endif
  }

 private:
  bool had_ = false;
  std::u16string old_;
};

struct PrefixCase {
  const char* name;
  std::u16string path;
  std::vector<std::u16string> prefixes;
};

class FolderChainPrefixesTest : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(FolderChainPrefixesTest, ListsEveryFolderBelowTheRootShortestFirst) {
  EXPECT_EQ(FolderChainPrefixes(GetParam().path), GetParam().prefixes) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FolderChainPrefixesTest,
    ::testing::Values(
        PrefixCase{"drive path", u"C:\\P\\Q\\R", {u"C:\\P", u"C:\\P\\Q", u"C:\\P\\Q\\R"}},
        PrefixCase{"trailing separator", u"C:\\P\\Q\\", {u"C:\\P", u"C:\\P\\Q"}},
        PrefixCase{"doubled separator", u"C:\\P\\\\Q", {u"C:\\P", u"C:\\P\\\\Q"}},
        PrefixCase{"root only", u"C:\\", {}},
        PrefixCase{"drive only", u"C:", {}},
        PrefixCase{"posix root", u"/tmp/a", {u"/tmp", u"/tmp/a"}},
        PrefixCase{"cut to the path limit", u"C:\\" + std::u16string(300, u'x'),
                   {u"C:\\" + std::u16string(256, u'x')}}),
    [](const ::testing::TestParamInfo<PrefixCase>& info) {
      std::string name = info.param.name;
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST(PathWithoutFileNameTest, KeepsTheRootSeparatorOnly) {
  EXPECT_EQ(PathWithoutFileName(u"C:\\A\\B.txt"), u"C:\\A");
  EXPECT_EQ(PathWithoutFileName(u"C:\\B.txt"), u"C:\\");
  EXPECT_EQ(PathWithoutFileName(u"/B.txt"), u"/");
  EXPECT_EQ(PathWithoutFileName(u"B.txt"), u"");
}

TEST(RecordFolderChainTest, RecordsOnlyCreatedFoldersAndRollbackRemovesThemDeepestFirst) {
  ScratchFolder scratch;
  const std::u16string p = scratch.Child(u"P");
  std::filesystem::create_directory(Fs(p));
  const std::u16string q = p + u"\\Q";
  const std::u16string r = q + u"\\R";
  const std::u16string file = r + u"\\new.dat";

  UninstallLog log;
  log.RecordFile(file, 0, false);
  EXPECT_EQ(Describe(log.entries), Describe({Entry(LOG_DIRECTORY, q), Entry(LOG_DIRECTORY, r),
                                             Entry(LOG_FILE, file, false, 0)}));
  ASSERT_TRUE(IsFolder(r));
  WriteBytes(file, "new");

  log.Rollback();
  EXPECT_TRUE(log.entries.empty());
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(FileExists(q));
  EXPECT_TRUE(IsFolder(p));
}

TEST(RecordFolderChainTest, AFolderThatCannotBeCreatedStopsTheChainWithoutEntries) {
  ScratchFolder scratch;
  const std::u16string blocker = scratch.Child(u"P");
  WriteBytes(blocker, "a file where a folder should be");
  UninstallLog log;
  log.RecordFolderChain(blocker + u"\\Q\\R");
  EXPECT_EQ(Describe(log.entries), "");
}

TEST(RollbackTest, AFolderThatHoldsForeignFilesStays) {
  ScratchFolder scratch;
  const std::u16string folder = scratch.Child(u"N");
  UninstallLog log;
  log.RecordFolderChain(folder);
  WriteBytes(folder + u"\\user.txt", "mine");
  log.Rollback();
  EXPECT_EQ(ReadBytes(folder + u"\\user.txt"), "mine");
}

TEST(RecordFileTest, AReplacedReadOnlyFileIsMovedAsideAndComesBackReadOnly) {
  ScratchFolder scratch;
  const std::u16string path = scratch.Child(u"old.exe");
  WriteBytes(path, "old");
  ASSERT_TRUE(SetFileAttributesOf(path, kFileAttributeReadOnly));

  UninstallLog log;
  log.RecordFile(path, 1, false);
  ASSERT_EQ(log.entries.size(), 1u);
  const std::u16string backup = log.entries[0].backupPath;
  ASSERT_FALSE(backup.empty());
  EXPECT_NE(Utf16ToUtf8(backup).find("qv"), std::string::npos) << Utf16ToUtf8(backup);
  EXPECT_FALSE(FileExists(path)) << "the old file must be out of the way of the new one";
  EXPECT_EQ(ReadBytes(backup), "old");
  EXPECT_TRUE(IsReadOnly(backup));

  WriteBytes(path, "new");
  ASSERT_TRUE(SetFileAttributesOf(path, kFileAttributeReadOnly));
  log.Rollback();
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_TRUE(IsReadOnly(path));
  EXPECT_FALSE(FileExists(backup));
  SetFileAttributesOf(path, kFileAttributeNormal);
}

TEST(RecordFileTest, AKeptFileStaysInPlaceWithACopyPutAside) {
  ScratchFolder scratch;
  const std::u16string path = scratch.Child(u"settings.ini");
  WriteBytes(path, "user settings");
  ASSERT_TRUE(SetFileAttributesOf(path, kFileAttributeReadOnly));

  UninstallLog log;
  log.RecordFile(path, 3, true);
  ASSERT_EQ(log.entries.size(), 1u);
  const std::u16string backup = log.entries[0].backupPath;
  ASSERT_FALSE(backup.empty());
  EXPECT_EQ(ReadBytes(path), "user settings");
  EXPECT_TRUE(IsReadOnly(path)) << "the kept file's attributes must be given back";
  EXPECT_EQ(ReadBytes(backup), "user settings");
  EXPECT_TRUE(IsReadOnly(backup));

  // WriteLog makes the change permanent: the copy goes, the file stays.
  log.WriteLog(scratch.Child(u"Uninstall.ulog"), scratch.Path(), scratch.Path());
  EXPECT_FALSE(FileExists(backup));
  EXPECT_EQ(ReadBytes(path), "user settings");
  SetFileAttributesOf(path, kFileAttributeNormal);
}

TEST(RecordFileTest, WithoutABackupRollbackStillRemovesTheNewFile) {
  ScratchFolder scratch;
  const std::u16string path = scratch.Child(u"fresh.dll");
  UninstallLog log;
  log.RecordFile(path, 0, false);
  EXPECT_EQ(Describe(log.entries), Describe({Entry(LOG_FILE, path, false, 0)}));
  WriteBytes(path, "new");
  ASSERT_TRUE(SetFileAttributesOf(path, kFileAttributeReadOnly));
  log.Rollback();
  EXPECT_FALSE(FileExists(path));
}

TEST(RecordShortcutTest, TheEarlierShortcutOfTheKindGoesAwayEvenUnderAnotherName) {
  ScratchFolder scratch;
  const std::u16string menu = scratch.Child(u"Menu");
  std::filesystem::create_directory(Fs(menu));
  const std::u16string older = menu + u"\\Vantrel 4.05a.lnk";
  const std::u16string desktop = scratch.Child(u"gone.lnk");
  WriteBytes(older, "older link");

  UninstallLog log;
  log.previousEntries = {Entry(LOG_DESKTOP_SHORTCUT, desktop), Entry(LOG_MENU_SHORTCUT, older),
                         Entry(LOG_MENU_SHORTCUT, menu + u"\\second.lnk")};
  log.RecordShortcut(LOG_MENU_SHORTCUT, menu + u"\\Sub");
  log.RecordShortcut(LOG_DESKTOP_SHORTCUT, scratch.Path());
  ASSERT_EQ(log.entries.size(), 3u);
  EXPECT_EQ(log.entries[0].kind, LOG_DIRECTORY);
  EXPECT_EQ(log.entries[1].kind, LOG_MENU_SHORTCUT);
  EXPECT_TRUE(log.entries[1].path.empty());
  const std::u16string backup = log.entries[1].backupPath;
  ASSERT_FALSE(backup.empty());
  EXPECT_FALSE(FileExists(older));
  EXPECT_TRUE(log.entries[2].backupPath.empty()) << "a missing earlier shortcut has no backup";

  const std::u16string created = menu + u"\\Sub\\Vantrel 4.05b.lnk";
  WriteBytes(created, "new link");
  log.entries[1].path = created;
  log.entries[1].done = true;
  log.WriteLog(scratch.Child(u"Uninstall.ulog"), scratch.Path(), menu);
  EXPECT_FALSE(FileExists(backup));
  EXPECT_FALSE(FileExists(older));
  EXPECT_EQ(ReadBytes(created), "new link");
}

TEST(RollbackTest, AShortcutComesBackAndEarlierEntriesStay) {
  ScratchFolder scratch;
  const std::u16string link = scratch.Child(u"Vantrel.lnk");
  WriteBytes(link, "earlier");
  UninstallLog log;
  log.previousEntries = {Entry(LOG_DESKTOP_SHORTCUT, link)};
  log.RecordShortcut(LOG_DESKTOP_SHORTCUT, scratch.Path());
  log.RecordUninstallKey(nullptr);
  log.RecordRegistration();
  log.entries[0].path = link;
  WriteBytes(link, "this run");
  log.Rollback();
  EXPECT_EQ(ReadBytes(link), "earlier");
  EXPECT_TRUE(log.entries.empty());
  EXPECT_EQ(Describe(log.previousEntries), Describe({Entry(LOG_DESKTOP_SHORTCUT, link)}));
}

TEST(MakeBackupTest, TheTemporaryFolderMustLeaveRoomForTheName) {
  ScratchFolder scratch;
  // Lengths counted with the trailing separator the system hands out.
#ifdef _WIN32
  const std::u16string separator = u"\\";
#else
  const std::u16string separator = u"/";
#endif
  const std::u16string base = scratch.Path() + separator;
  const std::size_t fill = 246 - base.size() - 1;
  const std::u16string fits = base + std::u16string(fill, u'a') + separator;
  const std::u16string tooLong = base + std::u16string(fill + 1, u'b') + separator;
  ASSERT_EQ(fits.size(), 246u);
  std::filesystem::create_directory(Fs(fits));
  std::filesystem::create_directory(Fs(tooLong));
  const std::u16string source = scratch.Child(u"x.txt");
  WriteBytes(source, "x");
  {
    TempFolderOverride temp(fits);
    const std::u16string name = UninstallLog::MakeBackup(u"", false);
    EXPECT_FALSE(name.empty());
    EXPECT_FALSE(FileExists(name)) << "only the name is handed out";
  }
  {
    TempFolderOverride temp(tooLong);
    EXPECT_TRUE(UninstallLog::MakeBackup(u"", false).empty());
    UninstallLog log;
    log.RecordFile(source, 0, false);
    EXPECT_EQ(Describe(log.entries), Describe({Entry(LOG_FILE, source, false, 0)}));
    EXPECT_EQ(ReadBytes(source), "x") << "no backup: the file stays where it is";
  }
}

TEST(MakeBackupTest, AFailedMoveGivesTheSourceItsAttributesBack) {
  ScratchFolder scratch;
  const std::u16string folder = scratch.Child(u"ro");
  std::filesystem::create_directory(Fs(folder));
  const std::u16string source = folder + u"\\gone.txt";
  EXPECT_TRUE(UninstallLog::MakeBackup(source, false).empty());
  EXPECT_TRUE(UninstallLog::MakeBackup(source, true).empty());
  WriteBytes(source, "data");
  ASSERT_TRUE(SetFileAttributesOf(source, kFileAttributeReadOnly));
  // Every file operation after the temporary name and the attribute reset fails once.
  for (std::uint32_t n = 1; n <= 8; ++n) {
    InjectFileFault(n, kErrorAccessDenied);
    const std::u16string backup = UninstallLog::MakeBackup(source, false);
    InjectFileFault(0, 0);
    if (!backup.empty()) {
      // The fault hit a step whose failure is tolerated; put the file back for the next round.
      SetFileAttributesOf(backup, kFileAttributeNormal);
      ASSERT_TRUE(MoveFileTo(backup, source)) << "fault at operation " << n;
      SetFileAttributesOf(source, kFileAttributeReadOnly);
    }
    ASSERT_TRUE(FileExists(source)) << "fault at operation " << n;
    EXPECT_TRUE(IsReadOnly(source)) << "fault at operation " << n;
  }
  SetFileAttributesOf(source, kFileAttributeNormal);
}

}  // namespace
}  // namespace qv
