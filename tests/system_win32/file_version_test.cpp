#include "system/file_version.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "system/common_controls.h"
#include "system/utf16.h"
#include "tests/system_win32/child_process.h"

namespace qv {
namespace {

std::u16string Fixture(const char* name) {
  std::wstring file = L"version_fixture_" + std::wstring(name, name + strlen(name)) + L".exe";
  return FromWide(test_support::SiblingProgram(file.c_str()).c_str());
}

// Stands for a value the read must not touch.
const std::u16string kUntouched = u"untouched";

struct VersionCase {
  const char* fixture;
  uint32_t flags;
  bool result;
  uint64_t fileVersion;
  uint32_t fileFlags;
  const char* displayText;
  const char* productName;
  const char* productVersion;
  const char* fileDescription;
  const char* legalCopyright;
};

std::ostream& operator<<(std::ostream& out, const VersionCase& c) {
  return out << c.fixture << " with request 0x" << std::hex << c.flags;
}

class VersionResource : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionResource, RequestedItemsAreFilledAndOthersLeftAlone) {
  const VersionCase& c = GetParam();
  CFileVersionInfo info;
  info.flags = c.flags;
  info.fileVersion = 0xDEAD;
  info.fileFlags = 0xBEEF;
  info.displayText = info.productName = info.productVersion = info.fileDescription =
      info.legalCopyright = kUntouched;
  std::u16string path = Fixture(c.fixture);
  EXPECT_EQ(info.Read(path.c_str()), c.result);
  EXPECT_EQ(info.fileVersion, c.fileVersion) << std::hex << info.fileVersion;
  EXPECT_EQ(info.fileFlags, c.fileFlags);
  EXPECT_EQ(Utf16ToUtf8(info.displayText), c.displayText);
  EXPECT_EQ(Utf16ToUtf8(info.productName), c.productName);
  EXPECT_EQ(Utf16ToUtf8(info.productVersion), c.productVersion);
  EXPECT_EQ(Utf16ToUtf8(info.fileDescription), c.fileDescription);
  EXPECT_EQ(Utf16ToUtf8(info.legalCopyright), c.legalCopyright);
}

constexpr uint32_t kDebugPrivate = VERSION_FLAG_DEBUG | VERSION_FLAG_PRIVATE_BUILD;
constexpr uint64_t k4522 = 0x0004000500020002;
constexpr uint64_t k1234 = 0x0001000200030004;
constexpr uint32_t kNoFlags = 0xBEEF;

INSTANTIATE_TEST_SUITE_P(
    Fixtures, VersionResource,
    ::testing::Values(
        VersionCase{"full", VI_ALL, true, k4522, kDebugPrivate, "Install 1.3 - Private - Debug",
                    "Install", "1.3", "Vantrel setup", "\xC2\xA9 Quorvik"},
        VersionCase{"plain", VI_ALL, true, k1234, 0, "Install 1.3", "Install", "1.3",
                    "Vantrel setup", "\xC2\xA9 Quorvik"},
        // The About box: display text and copyright only.
        VersionCase{"full", VI_DISPLAY_TEXT | VI_LEGAL_COPYRIGHT, true, 0, kNoFlags,
                    "Install 1.3 - Private - Debug", "untouched", "untouched", "untouched",
                    "\xC2\xA9 Quorvik"},
        VersionCase{"plain", VI_PRODUCT_VERSION, true, 0, kNoFlags, "untouched", "untouched",
                    "1.3", "untouched", "untouched"},
        VersionCase{"full", VI_FILE_VERSION, true, k4522, kNoFlags, "untouched", "untouched",
                    "untouched", "untouched", "untouched"},
        VersionCase{"full", VI_FILE_FLAGS, true, 0, kDebugPrivate, "untouched", "untouched",
                    "untouched", "untouched", "untouched"},
        // Flags outside the mask count as not set.
        VersionCase{"flags_masked", VI_DISPLAY_TEXT | VI_FILE_FLAGS, true, 0, 0, "Install 1.3",
                    "untouched", "untouched", "untouched", "untouched"},
        // Pre-release has no suffix; only private and debug show.
        VersionCase{"debug_prerelease", VI_DISPLAY_TEXT | VI_FILE_FLAGS, true, 0,
                    VERSION_FLAG_DEBUG | VERSION_FLAG_PRERELEASE, "Install 1.3 - Debug",
                    "untouched", "untouched", "untouched", "untouched"},
        VersionCase{"no_product_name", VI_ALL, false, k1234, 0, " 1.3", "", "1.3",
                    "Vantrel setup", "\xC2\xA9 Quorvik"},
        VersionCase{"no_product_name", VI_PRODUCT_VERSION | VI_FILE_VERSION, true, k1234,
                    kNoFlags, "untouched", "untouched", "1.3", "untouched", "untouched"},
        VersionCase{"no_translation", VI_ALL, false, 0, kNoFlags, "", "", "", "", ""},
        VersionCase{"none", VI_ALL, false, 0, kNoFlags, "", "", "", "", ""},
        VersionCase{"none", VI_PRODUCT_NAME, false, 0, kNoFlags, "untouched", "", "untouched",
                    "untouched", "untouched"},
        // Only the first translation is read, whatever its language.
        VersionCase{"two_translations", VI_ALL, true, 0x0002000000000000, 0, "Deutsch 2.0 de",
                    "Deutsch", "2.0 de", "Deutsche Beschreibung", "Deutsches Urheberrecht"}));

TEST(ProductFixtures, CarryTheirGivenVersions) {
  struct Case {
    const wchar_t* program;
    uint64_t fileVersion;
    const char16_t* displayText;
  };
  for (const Case& c : {Case{L"product_fixture.exe", 0x0004000500020002, u"Vantrel 4.05b"},
                        Case{L"product_fixture_older.exe", 0x0004000000000000, u"Vantrel 4.00"},
                        Case{L"product_fixture_newer.exe", 0x0004000600000000, u"Vantrel 4.06"}}) {
    CFileVersionInfo info;
    info.flags = VI_ALL;
    std::u16string path = FromWide(test_support::SiblingProgram(c.program).c_str());
    EXPECT_TRUE(info.Read(path.c_str())) << Utf16ToUtf8(path);
    EXPECT_EQ(info.fileVersion, c.fileVersion) << Utf16ToUtf8(path);
    EXPECT_EQ(info.displayText, c.displayText);
  }
}

TEST(VersionResourceOfOwnFile, NullPathReadsTheRunningProgram) {
  // The test program has no version resource, so its own read fails like any such file.
  CFileVersionInfo info;
  info.flags = VI_ALL;
  info.productName = kUntouched;
  EXPECT_FALSE(info.Read(nullptr));
  EXPECT_EQ(info.productName, u"");
}

TEST(VersionResourceOfOwnFile, OverlongPathIsNotReadAsTheFileItsFirst259CharactersName) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring fileName = L"\\v.exe";
  std::wstring folder = std::wstring(temp) + L"qv";
  folder += std::wstring(259 - folder.size() - fileName.size(), L'd');
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  std::wstring copy = folder + fileName;
  ASSERT_EQ(copy.size(), 259u);
  ASSERT_TRUE(CopyFileW(AsWide(Fixture("full")), copy.c_str(), FALSE));

  CFileVersionInfo info;
  info.flags = VI_ALL;
  EXPECT_TRUE(info.Read(FromWide(copy.c_str()).c_str()));
  EXPECT_EQ(info.productName, u"Install");

  std::u16string overlong = FromWide((copy + L"x").c_str());
  EXPECT_FALSE(info.Read(overlong.c_str()));
  EXPECT_EQ(info.productName, u"");
  EXPECT_EQ(info.fileVersion, 0u);

  DeleteFileW(copy.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST(CommonControls, WineReportsVersion5WithoutVisualStyles) {
  // Measured under Wine: DllGetVersion of the system folder's common controls reports 5.81.
  EXPECT_EQ(GetCommonControlsVersion(), DWORD(5 * 65536 + 81));
  EXPECT_FALSE(HasVisualStyles());
  EXPECT_FALSE(ApplyExplorerTheme(GetDesktopWindow()));
}

TEST(CommonControls, WineReportsVersion5EvenToAProgramWithTheVersion6Manifest) {
  // Measured under Wine: with the version 6 library loaded through the manifest,
  // DllGetVersion still answers 5.81, so visual styles stay off although the theme
  // library is loaded and the application counts as themed.
  int code = test_support::RunToExit(test_support::SiblingProgram(L"common_controls_probe.exe"), L"");
  EXPECT_EQ(DWORD(code), DWORD(5 * 65536 + 81));
}

TEST(CommonControls, LibraryWithoutVersionExportOrMissingReportsZero) {
  EXPECT_EQ(GetSystemDllVersion(L"version.dll"), 0u);
  EXPECT_EQ(GetSystemDllVersion(L"no_such_library.dll"), 0u);
  EXPECT_NE(GetSystemDllVersion(L"shell32.dll"), 0u);
}

}  // namespace
}  // namespace qv
