#include "system/common_controls.h"

#include <shlwapi.h>

#include "system/security.h"

namespace qv {

namespace {

template <typename Fn>
Fn AsFunction(FARPROC address) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(address));
}

// Only from a uxTheme that the process has already loaded.
FARPROC ThemeFunction(const char* name) {
  HMODULE module = GetModuleHandleW(L"uxTheme");
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace

DWORD GetSystemDllVersion(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(name);
  HMODULE loaded = module ? nullptr : LoadSystemLibrary(name);
  if (loaded) module = loaded;
  DWORD version = 0;
  if (module) {
    using GetVersionFn = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    if (auto getVersion = AsFunction<GetVersionFn>(GetProcAddress(module, "DllGetVersion"))) {
      DLLVERSIONINFO info = {};
      info.cbSize = sizeof(info);
      if (SUCCEEDED(getVersion(&info))) version = info.dwMajorVersion * 65536 + info.dwMinorVersion;
    }
  }
  if (loaded) FreeLibrary(loaded);
  return version;
}

DWORD GetCommonControlsVersion() { return GetSystemDllVersion(L"Comctl32.dll"); }

bool HasVisualStyles() {
  using IsAppThemedFn = BOOL(WINAPI*)();
  static const auto isAppThemed = AsFunction<IsAppThemedFn>(ThemeFunction("IsAppThemed"));
  if (!isAppThemed || !isAppThemed()) return false;
  static const bool version6 = GetCommonControlsVersion() >= 0x60000;
  return version6;
}

bool ApplyExplorerTheme(HWND window) {
  if (!HasVisualStyles()) return false;
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setWindowTheme = AsFunction<SetWindowThemeFn>(ThemeFunction("SetWindowTheme"));
  return setWindowTheme && setWindowTheme(window, L"explorer", nullptr) == S_OK;
}

}  // namespace qv
