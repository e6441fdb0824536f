#pragma once
// The installation folder page.
#include "wizard/wizard_page.h"

namespace qv {

class CFolderPage : public CWizardPage {
 public:
  explicit CFolderPage(WizardContext& context);
  void UpdatePageTexts() override;

  // The text of the folder box.
  std::u16string folderText;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange& dx) override;
  std::vector<std::pair<int, unsigned>> ControlAnchors() const override;
};

}  // namespace qv
