#include "install/ansi_text.h"

#include <windows.h>

#include "system/utf16.h"

namespace qv {

std::u16string AnsiToUtf16(std::string_view text) {
  if (text.empty()) return std::u16string();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return std::u16string();
  std::u16string out(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(&out[0]), length);
  return out;
}

}  // namespace qv
