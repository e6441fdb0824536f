#pragma once
// The wizard's page order, skip rule, button rules and exit question, free of any window code.
#include <cstdint>

#include "app/setup_state.h"

namespace qv {

enum WizardPage : int {
  PAGE_LANGUAGE = 0,
  PAGE_MODE = 1,
  PAGE_FOLDER = 2,
  PAGE_SHORTCUTS = 3,
  PAGE_PROGRESS = 4,
  PAGE_FINISH = 5,
};
constexpr int WIZARD_PAGE_COUNT = 6;
constexpr int NO_PAGE = -1;

// The page actually shown when `requested` is asked for while `current` is shown:
// quick mode steps over the folder and shortcut pages in the direction of the request.
int ResolvePageRequest(int current, int requested, bool customMode);

enum class NextLabel { Install, Next };
enum class CancelLabel { Cancel, Exit };

// Labels, enabled states and default button of Back, Next and Cancel for a shown page.
struct WizardButtons {
  NextLabel nextLabel;
  CancelLabel cancelLabel;
  bool backEnabled;
  bool nextEnabled;
  int defaultButton;  // control id: 1 (Next) or 2 (Cancel)
};
WizardButtons ComputeWizardButtons(int currentPage, bool installDone);

// Next on the progress page before a successful installation runs the installation;
// everywhere else it asks for the following page.
bool NextRunsInstallation(int currentPage, bool installDone);

// Whether Cancel must ask before ending the wizard.
bool ExitNeedsConfirmation(bool installDone, int32_t previousInstallState, int currentPage);

}  // namespace qv
