#include "wizard/wizard_context.h"

#include "app/localized_texts.h"

namespace qv {

std::u16string WizardContext::Text(unsigned textId) const {
  return LoadText(texts, state.languageIndex, textId);
}

std::u16string WizardContext::Format(unsigned textId, const std::vector<std::u16string>& arguments) const {
  std::u16string out;
  if (FormatTextInserts(texts, state.languageIndex, textId, arguments, out) != 0) return std::u16string();
  return out;
}

std::u16string WizardContext::SetupTitle(bool withProduct) const {
  return GetSetupTitle(texts, state.languageIndex, withProduct);
}

}  // namespace qv
