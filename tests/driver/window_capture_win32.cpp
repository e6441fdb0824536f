#include "window_capture_win32.h"

#include <vector>

namespace qv::driver {

namespace {

class ScreenDc {
 public:
  ScreenDc() : dc(GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc != nullptr) ReleaseDC(nullptr, dc);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc; }

 private:
  HDC dc;
};

class MemoryBitmap {
 public:
  MemoryBitmap(HDC screen, int width, int height) : dc(CreateCompatibleDC(screen)) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dc != nullptr && bitmap != nullptr) previous = SelectObject(dc, bitmap);
  }
  ~MemoryBitmap() {
    if (previous != nullptr) SelectObject(dc, previous);
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc != nullptr) DeleteDC(dc);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;
  bool Valid() const { return previous != nullptr && bits != nullptr; }
  HDC Dc() const { return dc; }
  const void* Bits() const { return bits; }

 private:
  HDC dc;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  void* bits = nullptr;
};

}  // namespace

bool SaveWindowBitmap(HWND window, const std::wstring& path) {
  RECT rect = {};
  if (!GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  ScreenDc screen;
  if (screen.Get() == nullptr) return false;
  MemoryBitmap image(screen.Get(), width, height);
  if (!image.Valid()) return false;
  if (!BitBlt(image.Dc(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) return false;
  GdiFlush();

  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD pixelBytes = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + pixelBytes;
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = pixelBytes;

  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) && written == sizeof(file) &&
            WriteFile(out, &header, sizeof(header), &written, nullptr) && written == sizeof(header) &&
            WriteFile(out, image.Bits(), pixelBytes, &written, nullptr) && written == pixelBytes;
  ok = CloseHandle(out) && ok;
  if (!ok) DeleteFileW(path.c_str());
  return ok;
}

}  // namespace qv::driver
