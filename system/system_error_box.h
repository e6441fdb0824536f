#pragma once
// The system's text for an error code, shown in a warning box.
#ifdef _WIN32
#include <cstdint>

namespace qv {

// format holds one "%s" that receives the system text; "%s" or null shows the text
// unchanged. The box has OK, the warning icon and the system's default title; if it
// cannot be shown the caller goes on as after OK.
void ShowSystemErrorBox(std::uint16_t languageId, std::uint32_t code, const wchar_t* format = L"%s");

}  // namespace qv
#endif
