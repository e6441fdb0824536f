#pragma once
// The final page, shown after a successful installation.
#include "wizard/wizard_page.h"

namespace qv {

class CFinishPage : public CWizardPage {
 public:
  explicit CFinishPage(WizardContext& context);
  void UpdatePageTexts() override;

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  std::vector<std::pair<int, unsigned>> ControlAnchors() const override;
};

}  // namespace qv
