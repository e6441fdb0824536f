#include "driver_output_win32.h"

#include <windows.h>

#include <cstdio>

namespace qv::driver {

void PrintLine(const std::wstring& line) {
  std::string utf8;
  if (!line.empty()) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), &utf8[0], size, nullptr, nullptr);
  }
  utf8 += '\n';
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

}  // namespace qv::driver
