#include "app/languages.h"

namespace qv {

namespace {

struct LanguageRow {
  int tableOffset;
  bool installerTexts;
  bool selectable;
  unsigned lcid;
  unsigned flagIcon;
};

// Indexed by language index; the indices are not in the order of the tables.
constexpr LanguageRow kLanguages[LANGUAGE_COUNT] = {
    {0, true, true, 1036, 144},       // French
    {1000, true, true, 1033, 145},    // English
    {2000, true, true, 1031, 141},    // German
    {3000, true, true, 3082, 143},    // Spanish
    {4000, true, false, 2070, 148},   // Portuguese
    {6000, false, true, 1043, 147},   // Dutch
    {7000, false, false, 1030, 142},  // Danish
    {8000, true, false, 1055, 149},   // Turkish
    {10000, false, false, 1026, 150}, // Bulgarian
    {11000, true, true, 1048, 151},   // Romanian
    {9000, false, false, 2052, 152},  // Chinese (Simplified)
    {5000, true, true, 1040, 146},    // Italian
    {12000, false, false, 1029, 153}, // Czech
    {13000, false, false, 1044, 154}, // Norwegian
    {14000, false, false, 1032, 155}, // Greek
};

const LanguageRow* Row(int index) {
  return index >= 0 && index < LANGUAGE_COUNT ? &kLanguages[index] : nullptr;
}

}  // namespace

int LanguageTableOffset(int index) {
  const LanguageRow* row = Row(index);
  return row ? row->tableOffset : kLanguages[LANGUAGE_ENGLISH].tableOffset;
}

bool HasInstallerTexts(int index) {
  const LanguageRow* row = Row(index);
  return row && row->installerTexts;
}

bool IsSelectableLanguage(int index) {
  const LanguageRow* row = Row(index);
  return row && row->selectable;
}

unsigned LanguageLcid(int index) {
  const LanguageRow* row = Row(index);
  return row ? row->lcid : 0;
}

unsigned LanguageFlagIcon(int index) {
  const LanguageRow* row = Row(index);
  return row ? row->flagIcon : 0;
}

int LanguageFromLangId(std::uint16_t langId) {
  switch (langId & 0x3FF) {
    case 0x0C: return 0;   // French
    case 0x07: return 2;   // German
    case 0x0A: return 3;   // Spanish
    case 0x13: return 5;   // Dutch
    case 0x18: return 9;   // Romanian
    case 0x10: return 11;  // Italian
    default: return LANGUAGE_ENGLISH;
  }
}

int ChooseStartupLanguage(int userDefault, std::optional<std::uint32_t> remembered) {
  int index = userDefault;
  if (remembered && *remembered < static_cast<std::uint32_t>(LANGUAGE_COUNT) &&
      IsSelectableLanguage(static_cast<int>(*remembered))) {
    index = static_cast<int>(*remembered);
  }
  return HasInstallerTexts(index) ? index : LANGUAGE_ENGLISH;
}

}  // namespace qv
