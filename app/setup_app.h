#pragma once
// The setup's application object: the whole setup state and the start-up that fills it.
// Win32 only.
#ifdef _WIN32
#include "app/setup_state.h"
#include "framework/application.h"
#include "system/named_objects.h"

namespace qv {

class CSetupApp : public CWinApp, public SetupState {
 public:
  CSetupApp();
  ~CSetupApp() override;

  // Start-up checks, language, title, folders and options, then the wizard; always false.
  bool InitInstance() override;

  // Only one copy of the setup works at a time; constructed without ownership.
  NamedMutexGuard instanceGuard;
};

// Runs the wizard modally over the application's setup state; the installation runs from
// its progress page. Part of the executable, which links the wizard and the installation.
void RunSetupWizard(CSetupApp& app);

// The one application object, constructed statically.
extern CSetupApp theApp;

}  // namespace qv
#endif
