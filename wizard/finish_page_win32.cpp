#include "wizard/finish_page.h"

#include "framework/data_exchange.h"
#include "resources/ui_ids.h"

namespace qv {

CFinishPage::CFinishPage(WizardContext& context) : CWizardPage(IDD_PAGE_FINISH, context) {}

void CFinishPage::UpdatePageTexts() {
  SetDlgItemText(IDC_FINISH_TEXT, std::u16string());
  SetDlgItemText(IDC_PAGE_STATUS, context.Format(1107, {context.Text(1004)}));
}

void CFinishPage::DoDataExchange(CDataExchange& dx) {
  if (!dx.SaveAndValidate() && context.state.installDone) {
    SetDlgItemText(IDC_FINISH_TEXT, context.Text(1120));
  }
}

std::vector<std::pair<int, unsigned>> CFinishPage::ControlAnchors() const {
  return {{IDC_FINISH_TEXT, ANCHOR_WIDEN | ANCHOR_TALLER},
          {IDC_PAGE_STATUS, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN}};
}

}  // namespace qv
