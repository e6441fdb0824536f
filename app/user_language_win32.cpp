#include "app/user_language.h"

#include <windows.h>

#include <vector>

#include "app/languages.h"
#include "system/utf16.h"

namespace qv {

namespace {

// The locale text as the system's ANSI code page renders it, widened again.
std::u16string AnsiLocaleText(LCID lcid, LCTYPE type) {
  int size = GetLocaleInfoA(lcid, type | LOCALE_USE_CP_ACP, nullptr, 0);
  if (size <= 0) return std::u16string();
  std::vector<char> narrow(static_cast<size_t>(size));
  if (GetLocaleInfoA(lcid, type | LOCALE_USE_CP_ACP, narrow.data(), size) <= 0) return std::u16string();
  int wideSize = MultiByteToWideChar(CP_ACP, 0, narrow.data(), -1, nullptr, 0);
  if (wideSize <= 0) return std::u16string();
  std::vector<wchar_t> wide(static_cast<size_t>(wideSize));
  MultiByteToWideChar(CP_ACP, 0, narrow.data(), -1, wide.data(), wideSize);
  return FromWide(wide.data());
}

std::u16string UnicodeLocaleText(LCID lcid, LCTYPE type) {
  int size = GetLocaleInfoW(lcid, type, nullptr, 0);
  if (size <= 0) return std::u16string();
  std::vector<wchar_t> wide(static_cast<size_t>(size));
  if (GetLocaleInfoW(lcid, type, wide.data(), size) <= 0) return std::u16string();
  return FromWide(wide.data());
}

std::u16string FirstUpper(std::u16string text) {
  if (!text.empty()) CharUpperBuffW(reinterpret_cast<wchar_t*>(&text[0]), 1);
  return text;
}

}  // namespace

int LanguageFromUserDefault() { return LanguageFromLangId(GetUserDefaultLangID()); }

std::u16string GetLanguageDisplayName(int index) {
  LCID lcid = LanguageLcid(index);
  if (lcid == 0) return std::u16string();
  std::u16string ansi = FirstUpper(AnsiLocaleText(lcid, LOCALE_SNATIVELANGNAME));
  std::u16string unicode = FirstUpper(UnicodeLocaleText(lcid, LOCALE_SNATIVELANGNAME));
  if (ansi != unicode) return FirstUpper(AnsiLocaleText(lcid, LOCALE_SLANGUAGE));
  return ansi;
}

}  // namespace qv
