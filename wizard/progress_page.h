#pragma once
// The progress page: the summary of the choices before the installation, and the log box,
// status line and progress bar that the installation drives.
#include "wizard/wizard_page.h"

namespace qv {

class CProgressPage : public CWizardPage {
 public:
  explicit CProgressPage(WizardContext& context);
  void UpdatePageTexts() override;

  // Appends to the log box. A banner, and an empty text, are laid out first: the text
  // centred in a rule of dashes as wide as the box (a bare rule for an empty text), ended
  // by CR LF. Any other text is appended exactly as given.
  void AppendProgressLog(const std::u16string& text, bool banner);

  HWND logBox = nullptr;
  HWND progressBar = nullptr;
  // Filled during the installation's extraction.
  std::u16string mainProgramPath;
  std::u16string uninstallerPath;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange& dx) override;
  std::vector<std::pair<int, unsigned>> ControlAnchors() const override;

 private:
  void WriteSummary();
};

}  // namespace qv
