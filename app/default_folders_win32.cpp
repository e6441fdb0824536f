#include "app/default_folders.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/product_texts.h"
#include "system/utf16.h"

namespace qv {

namespace {

constexpr DWORD kFolderBuffer = MAX_PATH + 1;

bool ReadProgramFilesValue(wchar_t* buffer) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS) {
    return false;
  }
  // One character kept back: a stored string need not end with its terminator.
  DWORD type = 0;
  DWORD size = (kFolderBuffer - 1) * sizeof(wchar_t);
  LONG result =
      RegQueryValueExW(key, L"ProgramFilesDir", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  buffer[size / sizeof(wchar_t)] = L'\0';
  return buffer[0] != L'\0';
}

using GetSystemWindowsDirectoryFn = UINT(WINAPI*)(wchar_t*, UINT);

// The Windows folder of the system (shared on terminal servers) where the system has the call.
bool WindowsFolder(wchar_t* buffer) {
  auto getSystemWindows = reinterpret_cast<GetSystemWindowsDirectoryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemWindowsDirectoryW")));
  UINT length = getSystemWindows ? getSystemWindows(buffer, kFolderBuffer) : GetWindowsDirectoryW(buffer, kFolderBuffer);
  return length > 0 && length < kFolderBuffer;
}

std::u16string WithProductFolders(wchar_t* buffer) {
  PathAppendW(buffer, AsWide(GetMakerFolderName()));
  PathAppendW(buffer, AsWide(GetProductFolderName()));
  return FromWide(buffer);
}

}  // namespace

std::u16string DefaultInstallFolder() {
  wchar_t buffer[kFolderBuffer] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_PROGRAM_FILES, FALSE) && !ReadProgramFilesValue(buffer)) {
    if (WindowsFolder(buffer)) {
      PathStripToRootW(buffer);
    } else {
      buffer[0] = L'\0';
    }
    PathAppendW(buffer, L"Program Files");
  }
  return WithProductFolders(buffer);
}

std::u16string DefaultMenuFolder() {
  wchar_t buffer[kFolderBuffer] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_PROGRAMS, FALSE) &&
      !SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_PROGRAMS, FALSE)) {
    buffer[0] = L'\0';
  }
  return WithProductFolders(buffer);
}

}  // namespace qv
