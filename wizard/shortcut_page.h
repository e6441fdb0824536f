#pragma once
// The shortcut page: the Start-menu folder that receives the shortcuts, and the desktop
// shortcut.
#include "wizard/wizard_page.h"

namespace qv {

class CShortcutPage : public CWizardPage {
 public:
  explicit CShortcutPage(WizardContext& context);
  void UpdatePageTexts() override;

  int desktopCheck = 0;
  int menuCheck = 0;
  // The Start-menu folder relative to startMenuRoot, as the box shows it.
  std::u16string relativeMenuFolder;
  // The all-users Start menu, or the user's when that cannot be had; empty without either.
  std::u16string startMenuRoot;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  void DoDataExchange(CDataExchange& dx) override;
  std::vector<std::pair<int, unsigned>> ControlAnchors() const override;

 private:
  void ApplyCheckBoxRule();
};

}  // namespace qv
