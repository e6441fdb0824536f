#pragma once
// Texts of the portable core are UTF-16 (std::u16string), as on Windows.
// Conversions to and from UTF-8 serve the POSIX file layer, the packer and the tests.
#include <string>
#include <string_view>

namespace qv {

// Ill-formed input (a lone surrogate, a bad UTF-8 sequence) becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");
inline const wchar_t* AsWide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string FromWide(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
#endif

}  // namespace qv
