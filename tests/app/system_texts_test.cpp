// The system's error texts and the folders and values start-up reads from the system.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cwctype>

#include "app/default_folders.h"
#include "app/languages.h"
#include "app/remembered_language.h"
#include "app/user_language.h"
#include "system/system_error_text.h"
#include "system/text_inserts.h"
#include "system/utf16.h"

namespace qv {
namespace {

std::u16string RawSystemText(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                    FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string text = length ? FromWide(buffer) : std::u16string();
  if (buffer) LocalFree(buffer);
  return text;
}

class SystemErrorText : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(SystemErrorText, IsTheSystemsMessageWithoutItsLineBreak) {
  std::u16string raw = RawSystemText(GetParam());
  ASSERT_FALSE(raw.empty()) << "the system has no text for " << GetParam();
  std::u16string text = GetSystemErrorText(GetParam(), 0);
  ASSERT_FALSE(text.empty());
  EXPECT_FALSE(std::iswspace(text.back())) << Utf16ToUtf8(text);
  EXPECT_EQ(raw.compare(0, text.size(), text), 0) << Utf16ToUtf8(text);
  for (size_t at = text.size(); at < raw.size(); ++at) EXPECT_TRUE(std::iswspace(raw[at]));
}

INSTANTIATE_TEST_SUITE_P(ShownCodes, SystemErrorText, ::testing::Values(kErrorBusy, kErrorBadPathname, kHresultFail));

TEST(SystemErrorTextFallBack, UnknownCodeGivesTheUnspecifiedErrorText) {
  std::u16string unspecified = GetSystemErrorText(kHresultFail, 0);
  ASSERT_NE(unspecified, u"Error");
  EXPECT_EQ(GetSystemErrorText(0x2000FFFFu, 0), unspecified);
  EXPECT_EQ(GetSystemErrorText(0xFFFFu, 0), unspecified);
}

TEST(SystemErrorTextFallBack, LanguageWithoutMessagesFallsBackToTheSystemsNotToError) {
  const std::uint16_t zulu = MAKELANGID(LANG_ZULU, SUBLANG_DEFAULT);
  EXPECT_EQ(GetSystemErrorText(kErrorBusy, zulu), GetSystemErrorText(kErrorBusy, 0));
}

TEST(DefaultFolders, AreTheSystemFoldersWithMakerAndProduct) {
  wchar_t programFiles[MAX_PATH] = {}, programs[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programFiles, CSIDL_PROGRAM_FILES, FALSE));
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, FALSE));
  EXPECT_EQ(Utf16ToUtf8(DefaultInstallFolder()), Utf16ToUtf8(FromWide(programFiles) + u"\\Quorvik\\Vantrel 4"));
  EXPECT_EQ(Utf16ToUtf8(DefaultMenuFolder()), Utf16ToUtf8(FromWide(programs) + u"\\Quorvik\\Vantrel 4"));
}

// Writes the remembered value the way an installation leaves it, and removes the key after.
class RememberedLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    keyName = FromWide(ProductUninstallKeyPrefix()) + u"Vantrel 4";
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, AsWide(keyName), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    if (key) RegCloseKey(key);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, AsWide(keyName));
  }
  void Write(DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(key, L"QvLanguage", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  std::u16string keyName;
  HKEY key = nullptr;
};

TEST_F(RememberedLanguage, IsReadAsAFourByteNumber) {
  DWORD italian = 11;
  Write(REG_DWORD, &italian, sizeof(italian));
  EXPECT_EQ(ReadRememberedLanguage(), std::optional<std::uint32_t>(11));
}

TEST_F(RememberedLanguage, MissingOrWronglySizedValuesAreIgnored) {
  EXPECT_EQ(ReadRememberedLanguage(), std::nullopt);
  ULONGLONG wide = 11;
  Write(REG_QWORD, &wide, sizeof(wide));
  EXPECT_EQ(ReadRememberedLanguage(), std::nullopt);
  WORD narrow = 11;
  Write(REG_BINARY, &narrow, sizeof(narrow));
  EXPECT_EQ(ReadRememberedLanguage(), std::nullopt);
}

TEST(LanguageDisplayName, EverySelectableLanguageHasAPrintableCapitalisedName) {
  for (int index = 0; index < LANGUAGE_COUNT; ++index) {
    if (!IsSelectableLanguage(index)) continue;
    std::u16string name = GetLanguageDisplayName(index);
    ASSERT_FALSE(name.empty()) << index;
    EXPECT_EQ(name.find(u'?'), std::u16string::npos) << Utf16ToUtf8(name);
    EXPECT_TRUE(IsCharUpperW(static_cast<wchar_t>(name[0]))) << Utf16ToUtf8(name);
  }
  EXPECT_EQ(GetLanguageDisplayName(15), u"");
}

}  // namespace
}  // namespace qv
