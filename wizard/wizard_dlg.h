#pragma once
// The wizard frame: a picture panel, one page at a time, and Back, Next and Cancel.
#include <array>

#include "framework/dialog.h"
#include "wizard/finish_page.h"
#include "wizard/folder_page.h"
#include "wizard/language_page.h"
#include "wizard/mode_page.h"
#include "wizard/page_sequence.h"
#include "wizard/progress_page.h"
#include "wizard/shortcut_page.h"
#include "wizard/wizard_context.h"

namespace qv {

class CWizardDlg : public CDialog {
 public:
  explicit CWizardDlg(WizardContext& context);
  ~CWizardDlg() override;

  // Leaves the current page (which must validate and save) and shows page `index`,
  // stepping over the folder and shortcut pages in quick mode.
  void SetPage(int index);
  // Every text of the frame and the pages in the current language.
  void UpdateTexts();
  void UpdateButtonTexts();

  int CurrentPage() const { return currentPage; }
  CWizardPage* Page(int index) const { return pages[static_cast<size_t>(index)]; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;

 private:
  void LayoutPages();
  std::u16string AboutItemText() const;
  void PaintMinimized();

  WizardContext& context;
  CLanguagePage languagePage;
  CModePage modePage;
  CFolderPage folderPage;
  CShortcutPage shortcutPage;
  CProgressPage progressPage;
  CFinishPage finishPage;
  std::array<CWizardPage*, WIZARD_PAGE_COUNT> pages{};
  int currentPage = NO_PAGE;
  HICON appIcon;
};

}  // namespace qv
