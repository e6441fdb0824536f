#pragma once
// Walks the setup's wizard from outside, as a user would: it starts the setup, waits for
// each page, makes the choices asked for, clicks the frame's buttons and answers the
// message boxes that open, printing one line per event.
#include <windows.h>

#include <string>
#include <vector>

#include "driver_options.h"

namespace qv::driver {

enum class WalkResult { Completed, Failed };

class WizardWalk {
 public:
  explicit WizardWalk(const DriverOptions& options) : options(options) {}
  ~WizardWalk();
  WizardWalk(const WizardWalk&) = delete;
  WizardWalk& operator=(const WizardWalk&) = delete;

  WalkResult Run();

 private:
  bool StartSetup();
  bool WaitForFrame();
  int VisiblePage() const;
  HWND PageWindow(int page) const;
  bool WaitForPageChange(int from, int& reached);
  void ReportPage(int page);
  void ReportButtons();
  bool PickLanguage(HWND page);
  void ChooseMode(HWND page);
  void ChooseFolder(HWND page);
  void ChooseShortcuts(HWND page);
  // Sends a click or notification and answers the message boxes that open until it returns.
  bool Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs, int preferredAnswer);
  bool Click(int buttonId, DWORD timeoutMs, int preferredAnswer);
  void AnswerMessageBoxes(int preferredAnswer, std::vector<HWND>& answered);
  bool LeaveWithCancel();
  void ReportInstallation();
  void Settle() const;
  std::wstring ShotPath(const std::wstring& name);
  void Screenshot(const std::wstring& name);
  bool WaitForExit();
  void Fail(const std::wstring& why);

  const DriverOptions& options;
  HDESK desktop = nullptr;
  PROCESS_INFORMATION process = {};
  HWND frame = nullptr;
  std::vector<int> visited;
  int shots = 0;
  size_t boxesAnswered = 0;  // by the last click or notification
  bool failed = false;
};

}  // namespace qv::driver
