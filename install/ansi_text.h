#pragma once
// 8-bit text in the thread's ANSI code page (Windows-1252 on the POSIX build).
#include <string>
#include <string_view>

namespace qv {

std::u16string AnsiToUtf16(std::string_view text);

}  // namespace qv
