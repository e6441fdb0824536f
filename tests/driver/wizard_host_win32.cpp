// The setup's wizard on the setup's own resources, without its start-up checks and with no
// installation behind Install: a known target for the driver's own tests. QV_HOST_INSTALL in
// its environment puts one behind: "succeeds" reports success at once, which opens the way
// to the final page; "runs" runs the real installation of the payload it carries.
#include <cstdlib>
#include <string>

#include "app/default_folders.h"
#include "app/resource_text_table.h"
#include "app/setup_state.h"
#include "framework/application.h"
#include "system/named_objects.h"
#ifdef QV_HOST_CAN_INSTALL
#include "install/install_sequence.h"
#endif
#include "wizard/wizard_context.h"
#include "wizard/wizard_dlg.h"

namespace qv {
namespace {

class WizardHostApp : public CWinApp {
 public:
  WizardHostApp() : CWinApp(L"Installer -- Vantrel 4.05b") {}
  bool InitInstance() override {
    CWinApp::InitInstance();
    SetupState state;
    state.languageIndex = 1;
    state.applicationTitle = u"Installer -- Vantrel 4.05b";
    state.installFolder = DefaultInstallFolder();
    state.menuFolder = DefaultMenuFolder();
    state.createMenuShortcuts = true;
    state.createDesktopShortcut = true;
    ResourceTextTable texts;
    WizardContext context{state, texts, {}};
    const char* install = std::getenv("QV_HOST_INSTALL");
    NamedMutexGuard guard(kSetupGuardName);
    if (install != nullptr && std::string(install) == "succeeds") {
      context.runInstall = [](CProgressPage&) { return true; };
    }
#ifdef QV_HOST_CAN_INSTALL
    if (install != nullptr && std::string(install) == "runs" && guard.TryAcquire()) {
      context.runInstall = [&](CProgressPage& page) { return RunInstallSequence(page, context, guard); };
    }
#endif
    CWizardDlg wizard(context);
    wizard.DoModal(nullptr);
    return false;
  }
};

WizardHostApp theHost;

}  // namespace
}  // namespace qv
