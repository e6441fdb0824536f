#pragma once
// The installation mode page: quick (the folder and shortcut pages are skipped) or custom.
#include "wizard/wizard_page.h"

namespace qv {

class CModePage : public CWizardPage {
 public:
  explicit CModePage(WizardContext& context);
  void UpdatePageTexts() override;

  // The checked radio button: 0 quick, 1 custom, -1 none.
  int modeChoice = -1;

 protected:
  void DoDataExchange(CDataExchange& dx) override;
  std::vector<std::pair<int, unsigned>> ControlAnchors() const override;
};

}  // namespace qv
