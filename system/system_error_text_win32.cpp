#include "system/system_error_text.h"

#include <windows.h>

#include <cwctype>

#include "system/text_inserts.h"
#include "system/utf16.h"

namespace qv {

namespace {

bool AskSystemMessage(std::uint32_t code, std::uint16_t languageId, std::u16string& text) {
  wchar_t* buffer = nullptr;
  const DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                      FORMAT_MESSAGE_ALLOCATE_BUFFER;
  DWORD length = FormatMessageW(flags, nullptr, code, languageId, reinterpret_cast<wchar_t*>(&buffer),
                                0, nullptr);
  if (length == 0) {
    if (buffer) LocalFree(buffer);
    return false;
  }
  text = FromWide(buffer);
  LocalFree(buffer);
  return true;
}

}  // namespace

std::u16string GetSystemErrorText(std::uint32_t code, std::uint16_t languageId) {
  std::u16string text;
  bool found = AskSystemMessage(code, languageId, text);
  if (!found && languageId != 0 && GetLastError() == ERROR_RESOURCE_LANG_NOT_FOUND) {
    found = AskSystemMessage(code, 0, text);
  }
  if (!found) {
    return code == kHresultFail ? std::u16string(u"Error") : GetSystemErrorText(kHresultFail, languageId);
  }
  while (!text.empty() && (std::iswspace(text.back()) || std::iswblank(text.back()))) text.pop_back();
  return text;
}

}  // namespace qv
