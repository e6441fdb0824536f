#include "wizard/mode_page.h"

#include "framework/data_exchange.h"
#include "resources/ui_ids.h"

namespace qv {

CModePage::CModePage(WizardContext& context) : CWizardPage(IDD_PAGE_MODE, context) {}

void CModePage::UpdatePageTexts() {
  SetDlgItemText(IDC_MODE_GROUP, context.Text(1015));
  SetDlgItemText(IDC_MODE_QUICK, context.Text(1016));
  SetDlgItemText(IDC_MODE_CUSTOM, context.Text(1017));
  SetDlgItemText(IDC_PAGE_STATUS, context.Format(1106, {context.Text(1006)}));
}

void CModePage::DoDataExchange(CDataExchange& dx) {
  if (!dx.SaveAndValidate()) modeChoice = context.state.customMode ? 1 : 0;
  ExchangeRadio(dx, IDC_MODE_QUICK, modeChoice);
  if (dx.SaveAndValidate()) context.state.customMode = modeChoice == 1;
}

std::vector<std::pair<int, unsigned>> CModePage::ControlAnchors() const {
  return {{IDC_MODE_GROUP, ANCHOR_WIDEN},
          {IDC_MODE_QUICK, ANCHOR_WIDEN},
          {IDC_MODE_CUSTOM, ANCHOR_WIDEN},
          {IDC_PAGE_STATUS, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN}};
}

}  // namespace qv
