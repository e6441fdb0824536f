#include "app/localized_texts.h"

#include "app/languages.h"
#include "app/product_texts.h"
#include "system/text_inserts.h"

namespace qv {

namespace {

bool IsPlaceholder(const TextTable& table, unsigned resourceId) {
  std::u16string text;
  return table.Load(resourceId, text) && text == u"#";
}

}  // namespace

unsigned LookupTextId(const TextTable& table, int languageIndex, unsigned textId) {
  int language = HasInstallerTexts(languageIndex) ? languageIndex : LANGUAGE_ENGLISH;
  unsigned id = textId + LanguageTableOffset(language);
  if (language == LANGUAGE_FRENCH || !IsPlaceholder(table, id)) return id;
  if (language == LANGUAGE_ENGLISH) return textId;
  unsigned english = textId + LanguageTableOffset(LANGUAGE_ENGLISH);
  return IsPlaceholder(table, english) ? textId : english;
}

std::u16string LoadText(const TextTable& table, int languageIndex, unsigned textId) {
  std::u16string text;
  if (!table.Load(LookupTextId(table, languageIndex, textId), text)) text.clear();
  return text;
}

std::u16string GetSetupTitle(const TextTable& table, int languageIndex, bool withProduct) {
  std::u16string title = LoadText(table, languageIndex, TEXT_INSTALLER);
  if (withProduct) title += u" -- " + GetProductName(true);
  return title;
}

std::uint32_t FormatTextInserts(const TextTable& table, int languageIndex, unsigned textId,
                                const std::vector<std::u16string>& arguments, std::u16string& out) {
  out.clear();
  std::u16string text;
  if (!table.Load(LookupTextId(table, languageIndex, textId), text)) return kHresultFail;
  return FormatTextInserts(text, arguments, out);
}

}  // namespace qv
