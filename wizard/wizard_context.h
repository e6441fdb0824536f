#pragma once
// What the wizard works on: the setup state it reads and fills, the texts it shows, and the
// installation that its progress page runs.
#include <functional>
#include <string>
#include <vector>

#include "app/setup_state.h"
#include "app/text_table.h"

namespace qv {

class CProgressPage;

struct WizardContext {
  SetupState& state;
  const TextTable& texts;
  // Runs the installation on the progress page; true when it went through. Empty: the
  // installation cannot run in this program and is reported as not done.
  std::function<bool(CProgressPage&)> runInstall;

  // A text in the current language; empty when it does not exist.
  std::u16string Text(unsigned textId) const;
  // A text in the current language with its inserts filled; empty when it cannot be made.
  std::u16string Format(unsigned textId, const std::vector<std::u16string>& arguments) const;
  std::u16string SetupTitle(bool withProduct) const;
};

}  // namespace qv
