// The payload copy's temporary folder around its limit: a folder of up to 246
// units (trailing backslash included) is used; longer ones, and those too long
// for the 260-unit buffer, fail with "GetTempPath" before any file is created.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "archive/payload_copy.h"
#include "system/utf16.h"
#include "tests/archive/archive_builder.h"

namespace qv {
namespace {

// TMP set for one test, restored afterwards.
class TemporaryFolderVariable {
 public:
  explicit TemporaryFolderVariable(const std::wstring& value) {
    wchar_t old[32768];
    const DWORD length = GetEnvironmentVariableW(L"TMP", old, 32768);
    had_ = length > 0 && length < 32768;
    if (had_) old_ = old;
    SetEnvironmentVariableW(L"TMP", value.c_str());
  }
  ~TemporaryFolderVariable() { SetEnvironmentVariableW(L"TMP", had_ ? old_.c_str() : nullptr); }

 private:
  bool had_ = false;
  std::wstring old_;
};

// A folder below base whose path, with a trailing backslash, has length units.
std::filesystem::path FolderOfLength(const std::filesystem::path& base, size_t length) {
  std::wstring path = base.wstring();
  while (path.size() + 1 < length) {
    const size_t room = length - 1 - path.size();
    size_t name = room - 1 > 60 ? 60 : room - 1;
    // Never leave a single unit: it could not hold a backslash and a name.
    if (room - 1 - name == 1) --name;
    path += L"\\" + std::wstring(name, L'd');
  }
  return std::filesystem::path(path);
}

class PayloadTempFolder : public ::testing::TestWithParam<size_t> {};

TEST_P(PayloadTempFolder, LongerThan246FailsBeforeCreatingAFile) {
  test::TempFolder base;
  const size_t length = GetParam();
  const std::filesystem::path folder = FolderOfLength(base.path(), length);
  ASSERT_EQ(folder.wstring().size() + 1, length);
  std::error_code ignored;
  if (length <= MAX_PATH) std::filesystem::create_directories(folder, ignored);

  std::u16string tempFile = u"unchanged";
  std::u16string errorText;
  bool copied = false;
  {
    TemporaryFolderVariable tmp(folder.wstring());
    copied = CopyPayloadToTempFile(tempFile, errorText);
  }
  if (length <= 246) {
    ASSERT_TRUE(copied) << Utf16ToUtf8(errorText);
    EXPECT_EQ(std::filesystem::path(tempFile).parent_path(), folder);
    EXPECT_TRUE(DeleteFileW(reinterpret_cast<const wchar_t*>(tempFile.c_str())));
  } else {
    EXPECT_FALSE(copied);
    EXPECT_EQ(tempFile, u"unchanged");
    const std::string text = Utf16ToUtf8(errorText);
    EXPECT_EQ(text.substr(text.size() > 13 ? text.size() - 13 : 0), "(GetTempPath)") << text;
    EXPECT_TRUE(base.Files().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, PayloadTempFolder, ::testing::Values(246, 247, 259, 260, 261, 1000));

}  // namespace
}  // namespace qv
