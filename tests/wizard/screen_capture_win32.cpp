#include "screen_capture.h"

#include <cstdio>
#include <vector>

namespace qv::test {

std::wstring ScreenshotFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  folder.resize(folder.find_last_of(L'\\') + 1);
  folder += L"screenshots";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool CaptureWindow(HWND window, const std::wstring& path) {
  RECT r{};
  ::GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap != nullptr) {
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ok = ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY) != FALSE;
    ::GdiFlush();
    ::SelectObject(memory, old);
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + size;
    FILE* out = ok ? _wfopen(path.c_str(), L"wb") : nullptr;
    ok = out != nullptr && fwrite(&file, sizeof(file), 1, out) == 1 &&
         fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 && fwrite(bits, size, 1, out) == 1;
    if (out != nullptr) fclose(out);
    ::DeleteObject(bitmap);
  }
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace qv::test
