#pragma once
// Pictures of windows for a human to look at: kept beside the test program under build/.
#include <windows.h>

#include <string>

namespace qv::test {

// A folder "screenshots" beside the running test program, created when missing.
std::wstring ScreenshotFolder();
// Writes what the screen shows of `window` as a 24-bit BMP file; false on failure.
bool CaptureWindow(HWND window, const std::wstring& path);

}  // namespace qv::test
