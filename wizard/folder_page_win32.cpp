#include "wizard/folder_page.h"

#include "app/product_texts.h"
#include "framework/data_exchange.h"
#include "resources/ui_ids.h"

namespace qv {

namespace {
constexpr int kMaxPathChars = 260;
}

CFolderPage::CFolderPage(WizardContext& context) : CWizardPage(IDD_PAGE_FOLDER, context) {}

BOOL CFolderPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  // Over an earlier installation the folder cannot be changed.
  if (context.state.previousInstallState != PREVIOUS_NONE) {
    EnableDlgItem(IDC_FOLDER_LABEL, false);
    EnableDlgItem(IDC_FOLDER_BROWSE, false);
    ::SendMessageW(GetDlgItem(IDC_FOLDER_EDIT), EM_SETREADONLY, TRUE, 0);
  }
  return TRUE;
}

void CFolderPage::UpdatePageTexts() {
  SetDlgItemText(IDC_FOLDER_GROUP, context.Text(1010));
  SetDlgItemText(IDC_FOLDER_LABEL, context.Format(1111, {GetProductName(false)}));
  SetDlgItemText(IDC_FOLDER_BROWSE, context.Text(1008) + u"...");
  SetDlgItemText(IDC_PAGE_STATUS, context.Format(1106, {context.Text(1006)}));
}

void CFolderPage::DoDataExchange(CDataExchange& dx) {
  if (!dx.SaveAndValidate()) folderText = context.state.installFolder;
  ExchangeText(dx, IDC_FOLDER_EDIT, folderText);
  ValidateMaxChars(dx, folderText, kMaxPathChars);
  if (dx.SaveAndValidate() && !dx.Failed()) context.state.installFolder = folderText;
}

std::vector<std::pair<int, unsigned>> CFolderPage::ControlAnchors() const {
  return {{IDC_FOLDER_GROUP, ANCHOR_WIDEN},
          {IDC_FOLDER_LABEL, ANCHOR_WIDEN},
          {IDC_FOLDER_EDIT, ANCHOR_WIDEN},
          {IDC_FOLDER_BROWSE, ANCHOR_MOVE_RIGHT},
          {IDC_PAGE_STATUS, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN}};
}

}  // namespace qv
