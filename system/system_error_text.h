#pragma once
// The system's own text for an error code (Win32 error or HRESULT).
#include <cstdint>
#include <string>

namespace qv {

constexpr std::uint32_t kErrorBusy = 170;
constexpr std::uint32_t kErrorBadPathname = 161;

// Never fails: a code without a message gives the text for E_FAIL, and "Error" when
// even that is missing. Language 0 lets the system choose; a language whose messages
// are not installed falls back to it. Trailing white space (the final line break) is cut.
std::u16string GetSystemErrorText(std::uint32_t code, std::uint16_t languageId);

}  // namespace qv
