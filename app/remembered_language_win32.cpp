#include "app/remembered_language.h"

#include <windows.h>

#include <string>

#include "app/product_texts.h"
#include "system/utf16.h"

namespace qv {

const wchar_t* ProductUninstallKeyPrefix() { return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"; }

std::optional<std::uint32_t> ReadRememberedLanguage() {
  std::u16string keyName = FromWide(ProductUninstallKeyPrefix()) + GetProductFolderName();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, AsWide(keyName), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD value = 0;
  DWORD size = sizeof(value);
  LONG result = RegQueryValueExW(key, L"QvLanguage", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || size != sizeof(value)) return std::nullopt;
  return value;
}

}  // namespace qv
