#pragma once
// Drives a modal dialog from inside its own message loop: a thread timer runs the steps one
// by one on the UI thread, and hands every other dialog that opens meanwhile (a message box,
// the About box) to the handler the step armed for it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qv::test {

class UiScript {
 public:
  using Step = std::function<void()>;
  using ModalHandler = std::function<void(HWND)>;

  explicit UiScript(std::function<HWND()> mainDialog) : mainDialog(std::move(mainDialog)) {}
  ~UiScript();

  void Add(Step step) { steps.push_back(std::move(step)); }
  // The next dialog that opens on top of the main one goes to `handler`.
  void ArmModal(ModalHandler handler) { armed = std::move(handler); }
  // Arms an answer for the next message box, keeping its text.
  void AnswerNextBox(int button, std::u16string* text = nullptr);
  // Starts the timer; the steps run once the main dialog's loop runs.
  void Start();
  // Dialogs that opened while no handler was armed: they were cancelled.
  int unexpectedDialogs = 0;

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void Tick();

  std::function<HWND()> mainDialog;
  std::vector<Step> steps;
  size_t next = 0;
  bool busy = false;
  ModalHandler armed;
  UINT_PTR timer = 0;
  DWORD idleSince = 0;
};

// The text of a message box (its first static control with text).
std::u16string MessageBoxText(HWND box);
std::u16string WindowText(HWND window);
// Clicks a button of a dialog the way the user does: BN_CLICKED through WM_COMMAND.
void Click(HWND dialog, int id);

}  // namespace qv::test
