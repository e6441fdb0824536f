#include "wizard/page_sequence.h"

namespace qv {

namespace {
bool IsCustomOnlyPage(int index) { return index == PAGE_FOLDER || index == PAGE_SHORTCUTS; }
}  // namespace

int ResolvePageRequest(int current, int requested, bool customMode) {
  if (customMode || requested == current) return requested;
  const int step = requested > current ? 1 : -1;
  int index = requested;
  while (IsCustomOnlyPage(index)) index += step;
  return index;
}

WizardButtons ComputeWizardButtons(int currentPage, bool installDone) {
  WizardButtons b{};
  b.nextLabel = NextRunsInstallation(currentPage, installDone) ? NextLabel::Install : NextLabel::Next;
  b.cancelLabel = installDone ? CancelLabel::Exit : CancelLabel::Cancel;
  b.backEnabled = (currentPage > PAGE_LANGUAGE && !installDone) || currentPage > PAGE_PROGRESS;
  b.nextEnabled = currentPage < PAGE_FINISH;
  b.defaultButton = b.nextEnabled ? 1 : 2;
  return b;
}

bool NextRunsInstallation(int currentPage, bool installDone) {
  return currentPage == PAGE_PROGRESS && !installDone;
}

bool ExitNeedsConfirmation(bool installDone, int32_t previousInstallState, int currentPage) {
  if (installDone || previousInstallState == PREVIOUS_NEWER) return false;
  return !(previousInstallState == PREVIOUS_SAME && currentPage == PAGE_LANGUAGE);
}

}  // namespace qv
