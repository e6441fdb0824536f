#pragma once
// The language page: the language list with flags, the copyright line, and what start-up
// found out about an earlier installation.
#include <windows.h>
#include <commctrl.h>

#include "wizard/wizard_page.h"

namespace qv {

class CWizardDlg;

class CLanguagePage : public CWizardPage {
 public:
  CLanguagePage(WizardContext& context, CWizardDlg& frame);
  ~CLanguagePage() override;
  void UpdatePageTexts() override;

  HWND languageList = nullptr;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  void DoDataExchange(CDataExchange& dx) override;
  std::vector<std::pair<int, unsigned>> ControlAnchors() const override;

 private:
  void OnLanguageChanged();

  CWizardDlg& frame;
  HIMAGELIST flagImages = nullptr;
};

}  // namespace qv
