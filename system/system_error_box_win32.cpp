#include "system/system_error_box.h"

#include <windows.h>

#include <string>

#include "system/modal_owner.h"
#include "system/system_error_text.h"
#include "system/utf16.h"

namespace qv {

void ShowSystemErrorBox(std::uint16_t languageId, std::uint32_t code, const wchar_t* format) {
  std::u16string text = GetSystemErrorText(code, languageId);
  if (format) {
    // The format is filled by hand: a caller's text never reaches a printf-style parser.
    std::u16string pattern = FromWide(format);
    size_t slot = pattern.find(u"%s");
    if (slot != std::u16string::npos) text = pattern.replace(slot, 2, text);
  }
  ShowModalMessageBox(nullptr, AsWide(text), nullptr, MB_OK | MB_ICONWARNING);
}

}  // namespace qv
