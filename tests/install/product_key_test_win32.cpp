#include <windows.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "install/product_key.h"
#include "install/uninstall_log.h"
#include "system/file_io.h"
#include "system/security.h"
#include "system/utf16.h"

namespace qv {
namespace {

std::wstring ProductKeyPath() {
  return std::wstring(AsWide(kUninstallKeyPath)) + L"\\" + AsWide(kProductKeyName);
}

bool ProductKeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// Whether the privilege is switched on in the process token right now.
bool PrivilegeEnabled(const wchar_t* name) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  LUID luid = {};
  LookupPrivilegeValueW(nullptr, name, &luid);
  PRIVILEGE_SET set = {};
  set.PrivilegeCount = 1;
  set.Privilege[0].Luid = luid;
  BOOL held = FALSE;
  PrivilegeCheck(token, &set, &held);
  CloseHandle(token);
  return held != FALSE;
}

// A product key with a value and a subkey, removed again by the test's end.
class ProductKeyFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str());
  }
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str()); }

  static void CreateFilledKey() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const wchar_t text[] = L"C:\\Program Files\\Quorvik\\Vantrel 4\\Uninstall.exe";
    RegSetValueExW(key, L"UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof(text));
    HKEY sub = nullptr;
    RegCreateKeyExW(key, L"Deeper\\Deepest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr);
    RegCloseKey(sub);
    RegCloseKey(key);
  }

  // The key exists before the run, so recording it saves it first.
  static void RecordExistingKey(UninstallLog& log) {
    CreateFilledKey();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str(), 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    log.RecordUninstallKey(key);
    RegCloseKey(key);
  }
};

TEST(PrivilegeProbeTest, TheProbeSeesAPrivilegeSwitchedOnAndOff) {
  ASSERT_TRUE(SetTokenPrivilege(SE_BACKUP_NAME, true));
  EXPECT_TRUE(PrivilegeEnabled(SE_BACKUP_NAME));
  ASSERT_TRUE(SetTokenPrivilege(SE_BACKUP_NAME, false));
  EXPECT_FALSE(PrivilegeEnabled(SE_BACKUP_NAME));
}

TEST_F(ProductKeyFixture, AKeyThisRunCreatedIsDeletedWithEverythingBelowIt) {
  UninstallLog log;
  log.RecordUninstallKey(nullptr);
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_TRUE(log.entries[0].backupPath.empty());
  CreateFilledKey();
  ASSERT_TRUE(ProductKeyExists());
  log.Rollback();
  EXPECT_FALSE(ProductKeyExists());
  EXPECT_FALSE(PrivilegeEnabled(SE_RESTORE_NAME));
}

TEST_F(ProductKeyFixture, AnExistingKeyIsSavedToAHiveFileThatRollbackConsumes) {
  UninstallLog log;
  ASSERT_NO_FATAL_FAILURE(RecordExistingKey(log));
  ASSERT_EQ(log.entries.size(), 1u);
  const std::u16string backup = log.entries[0].backupPath;
  ASSERT_FALSE(backup.empty()) << "the save needs the backup privilege, which the test runs with";
  EXPECT_GT(std::filesystem::file_size(std::filesystem::path(backup)), 0u);
  EXPECT_FALSE(PrivilegeEnabled(SE_BACKUP_NAME)) << "switched on only around the save";

  log.Rollback();
  // The restore itself cannot be shown here: this system's RegRestoreKeyW reports success and
  // restores nothing. What shows is that the key is kept, not deleted, and the hive file is gone.
  EXPECT_TRUE(ProductKeyExists());
  EXPECT_FALSE(FileExists(backup));
  EXPECT_FALSE(PrivilegeEnabled(SE_RESTORE_NAME));
}

TEST_F(ProductKeyFixture, TheHiveFileGoesEvenWhenTheKeyVanishedBeforeRollback) {
  UninstallLog log;
  ASSERT_NO_FATAL_FAILURE(RecordExistingKey(log));
  const std::u16string backup = log.entries[0].backupPath;
  ASSERT_FALSE(backup.empty());
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str());
  log.Rollback();
  // The product key could not be opened, but the Uninstall key could: the hive file still goes.
  EXPECT_FALSE(FileExists(backup));
  EXPECT_FALSE(ProductKeyExists());
}

}  // namespace
}  // namespace qv
