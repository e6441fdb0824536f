#include <windows.h>

#include "install/product_key.h"
#include "system/file_io.h"
#include "system/security.h"
#include "system/utf16.h"

namespace qv {
namespace {

// Deletes name below parent with all its subkeys and values, deepest first.
bool DeleteKeyTree(HKEY parent, const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  wchar_t child[256];
  for (;;) {
    DWORD length = 256;
    // Always the first subkey: each one is gone before the next look.
    if (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    if (!DeleteKeyTree(key, child)) break;
  }
  RegCloseKey(key);
  return RegDeleteKeyW(parent, name) == ERROR_SUCCESS;
}

}  // namespace

bool SaveProductKey(void* key, const std::u16string& file) {
  SetTokenPrivilege(SE_BACKUP_NAME, true);
  const LONG saved = RegSaveKeyW(static_cast<HKEY>(key), AsWide(file), nullptr);
  if (saved != ERROR_SUCCESS) {
    SetFileAttributesOf(file, kFileAttributeNormal);
    DeleteFileAt(file);
  }
  SetTokenPrivilege(SE_BACKUP_NAME, false);
  return saved == ERROR_SUCCESS;
}

void RestoreProductKey(const std::u16string& backup) {
  SetTokenPrivilege(SE_RESTORE_NAME, true);
  HKEY uninstall = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, AsWide(kUninstallKeyPath), 0, KEY_ALL_ACCESS, &uninstall) ==
      ERROR_SUCCESS) {
    if (!backup.empty()) {
      HKEY product = nullptr;
      if (RegOpenKeyExW(uninstall, AsWide(kProductKeyName), 0, KEY_ALL_ACCESS, &product) ==
          ERROR_SUCCESS) {
        RegRestoreKeyW(product, AsWide(backup), 0);
        RegCloseKey(product);
      }
      SetFileAttributesOf(backup, kFileAttributeNormal);
      DeleteFileAt(backup);
    } else {
      DeleteKeyTree(uninstall, AsWide(kProductKeyName));
    }
    RegCloseKey(uninstall);
  }
  SetTokenPrivilege(SE_RESTORE_NAME, false);
}

}  // namespace qv
