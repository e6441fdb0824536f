#pragma once
// The fifteen languages of the string tables and the rules for choosing one.
#include <cstdint>
#include <optional>

namespace qv {

constexpr int LANGUAGE_COUNT = 15;
constexpr int LANGUAGE_FRENCH = 0;
constexpr int LANGUAGE_ENGLISH = 1;

// The distance from a text id (the French resource id) to the language's resource id.
// Indices outside 0..14 have no table and give the English offset.
int LanguageTableOffset(int index);
bool HasInstallerTexts(int index);
bool IsSelectableLanguage(int index);
// 0 for an index outside 0..14.
unsigned LanguageLcid(int index);
unsigned LanguageFlagIcon(int index);

// From the primary language (low 10 bits) of a Windows language id: the seven
// selectable languages keep their index except English; every other language is English.
int LanguageFromLangId(std::uint16_t langId);

// The language start-up runs in: the user's default, replaced by the remembered value
// when that is a selectable index, and English when the result has no installer texts.
int ChooseStartupLanguage(int userDefault, std::optional<std::uint32_t> remembered);

}  // namespace qv
