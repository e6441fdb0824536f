#pragma once
// What the system says about languages: the user's default and how a language is named.
// Win32 only.
#ifdef _WIN32
#include <string>

namespace qv {

// The language index for the user's default language (LanguageFromLangId).
int LanguageFromUserDefault();

// The name under which a language is listed: its native name where the system's ANSI
// code page can show it, otherwise its name in the system's own language; the first
// character upper-cased. Empty for an index outside 0..14.
std::u16string GetLanguageDisplayName(int index);

}  // namespace qv
#endif
