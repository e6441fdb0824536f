#include "app/current_texts.h"

#include "app/localized_texts.h"
#include "app/resource_text_table.h"
#include "app/setup_app.h"

namespace qv {

namespace {
const TextTable& ProgramTexts() {
  static const ResourceTextTable texts;
  return texts;
}
}  // namespace

unsigned LookupTextId(unsigned textId) { return LookupTextId(ProgramTexts(), theApp.languageIndex, textId); }

std::u16string LoadText(unsigned textId) { return LoadText(ProgramTexts(), theApp.languageIndex, textId); }

std::u16string GetSetupTitle(bool withProduct) {
  return GetSetupTitle(ProgramTexts(), theApp.languageIndex, withProduct);
}

std::u16string FormatTextInserts(unsigned textId, const std::vector<std::u16string>& arguments,
                                 std::uint32_t* error) {
  std::u16string text;
  std::uint32_t status = FormatTextInserts(ProgramTexts(), theApp.languageIndex, textId, arguments, text);
  if (error) *error = status;
  return text;
}

}  // namespace qv
