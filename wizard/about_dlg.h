#pragma once
// The About box, opened from the wizard's system menu.
#include "framework/dialog.h"
#include "wizard/wizard_context.h"

namespace qv {

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(const WizardContext& context);
  ~CAboutDlg() override;

 protected:
  BOOL OnInitDialog() override;

 private:
  const WizardContext& context;
};

}  // namespace qv
