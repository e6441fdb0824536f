#pragma once
// The common-controls version and the explorer visual style. Win32 only.
#ifdef _WIN32
#include <windows.h>

namespace qv {

// major * 65536 + minor of the DllGetVersion export of a system library; 0 when
// the library or the export is missing or the call fails.
DWORD GetSystemDllVersion(const wchar_t* name);
// Of "Comctl32.dll".
DWORD GetCommonControlsVersion();
// The application is themed and the common controls are 6.0 or later; asked once.
bool HasVisualStyles();
// The "explorer" style on the window when visual styles are on.
bool ApplyExplorerTheme(HWND window);

}  // namespace qv
#endif
