#include "app/resource_text_table.h"
#include "app/setup_app.h"
#include "install/install_sequence.h"
#include "wizard/wizard_context.h"
#include "wizard/wizard_dlg.h"

namespace qv {

void RunSetupWizard(CSetupApp& app) {
  ResourceTextTable texts;
  WizardContext context{app, texts, {}};
  context.runInstall = [&](CProgressPage& page) {
    return RunInstallSequence(page, context, app.instanceGuard);
  };
  CWizardDlg wizard(context);
  wizard.DoModal(nullptr);
}

}  // namespace qv
