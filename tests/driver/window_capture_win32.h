#pragma once
#include <windows.h>

#include <string>

namespace qv::driver {

// Saves what the screen shows of `window` as a 24-bit .bmp file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

}  // namespace qv::driver
