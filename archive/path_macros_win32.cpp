#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "archive/path_macros.h"
#include "system/utf16.h"

namespace qv {

namespace {

constexpr DWORD kFolderBufferUnits = 261;
const wchar_t kCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

bool ShellFolder(int csidl, std::u16string* folder) {
  HWND owner = GetActiveWindow();
  if (owner != nullptr) owner = GetLastActivePopup(owner);
  wchar_t buffer[kFolderBufferUnits] = {};
  if (!SHGetSpecialFolderPathW(owner, buffer, csidl, FALSE)) return false;
  *folder = FromWide(buffer);
  return true;
}

bool RegistryFolder(const wchar_t* valueName, std::u16string* folder) {
  wchar_t buffer[kFolderBufferUnits] = {};
  DWORD type = 0;
  // One unit short of the buffer, so a value stored without its terminator still ends.
  DWORD bytes = (kFolderBufferUnits - 1) * sizeof(wchar_t);
  if (SHGetValueW(HKEY_LOCAL_MACHINE, kCurrentVersionKey, valueName, &type, buffer, &bytes) != ERROR_SUCCESS) {
    return false;
  }
  *folder = FromWide(buffer);
  return true;
}

bool WindowsFolder(std::u16string* folder) {
  using GetFolderFn = UINT(WINAPI*)(LPWSTR, UINT);
  auto getSystemWindows = reinterpret_cast<GetFolderFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"Kernel32"), "GetSystemWindowsDirectoryW")));
  wchar_t buffer[kFolderBufferUnits] = {};
  const UINT length = getSystemWindows != nullptr ? getSystemWindows(buffer, kFolderBufferUnits)
                                                  : GetWindowsDirectoryW(buffer, kFolderBufferUnits);
  if (length == 0 || length >= kFolderBufferUnits) return false;
  *folder = FromWide(buffer);
  return true;
}

bool SystemFolder(std::u16string* folder) {
  wchar_t buffer[kFolderBufferUnits] = {};
  const UINT length = GetSystemDirectoryW(buffer, kFolderBufferUnits);
  if (length == 0 || length >= kFolderBufferUnits) return false;
  *folder = FromWide(buffer);
  return true;
}

// The Windows folder's root ("C:\") followed directly by tail.
bool UnderWindowsRoot(const char16_t* tail, std::u16string* folder) {
  std::u16string windows;
  if (!WindowsFolder(&windows)) return false;
  wchar_t buffer[kFolderBufferUnits] = {};
  lstrcpynW(buffer, AsWide(windows), kFolderBufferUnits);
  PathStripToRootW(buffer);
  *folder = FromWide(buffer) + tail;
  return true;
}

}  // namespace

bool LookupFolderMacro(std::u16string_view name, std::u16string* folder) {
  if (name == u"ProgramFiles") {
    return ShellFolder(CSIDL_PROGRAM_FILES, folder) || RegistryFolder(L"ProgramFilesDir", folder) ||
           UnderWindowsRoot(u"Program Files", folder);
  }
  if (name == u"ProgramCommon") {
    return ShellFolder(CSIDL_PROGRAM_FILES_COMMON, folder) || RegistryFolder(L"CommonFilesDir", folder) ||
           UnderWindowsRoot(u"Program Files\\Common Files", folder);
  }
  if (name == u"CommonData") return ShellFolder(CSIDL_COMMON_APPDATA, folder) || ShellFolder(CSIDL_APPDATA, folder);
  if (name == u"UserData") return ShellFolder(CSIDL_APPDATA, folder);
  if (name == u"CommonDocuments") {
    return ShellFolder(CSIDL_COMMON_DOCUMENTS, folder) || ShellFolder(CSIDL_PERSONAL, folder);
  }
  if (name == u"Documents") return ShellFolder(CSIDL_PERSONAL, folder);
  if (name == u"CommonDesktop") {
    return ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY, folder) || ShellFolder(CSIDL_DESKTOPDIRECTORY, folder);
  }
  if (name == u"Desktop") return ShellFolder(CSIDL_DESKTOPDIRECTORY, folder);
  if (name == u"WinDir") return ShellFolder(CSIDL_WINDOWS, folder) || WindowsFolder(folder);
  if (name == u"System") return ShellFolder(CSIDL_SYSTEM, folder) || SystemFolder(folder);
  return false;
}

bool IsRelativePath(const std::u16string& path) { return PathIsRelativeW(AsWide(path)) != FALSE; }

std::u16string AppendPath(const std::u16string& base, const std::u16string& more) {
  wchar_t buffer[MAX_PATH] = {};
  if (base.size() < MAX_PATH) lstrcpynW(buffer, AsWide(base), MAX_PATH);
  if (base.size() < MAX_PATH && PathAppendW(buffer, AsWide(more))) return FromWide(buffer);
  // Too long for the shell's buffer: join by hand; the engine cuts the path later.
  std::u16string result = base;
  if (!result.empty() && result.back() != u'\\') result += u'\\';
  return result + more;
}

}  // namespace qv
