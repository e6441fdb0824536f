#include "ui_script.h"

#include <gtest/gtest.h>

namespace qv::test {

namespace {

UiScript* running = nullptr;

struct Search {
  HWND exclude;
  HWND found;
};

BOOL CALLBACK FindOtherDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (window != search->exclude && ::IsWindowVisible(window) && ::lstrcmpW(className, L"#32770") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::u16string WindowText(HWND window) {
  wchar_t text[2048] = {};
  ::GetWindowTextW(window, text, 2048);
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

std::u16string MessageBoxText(HWND box) {
  for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    ::GetClassNameW(child, className, 16);
    const std::u16string text = WindowText(child);
    if (::lstrcmpiW(className, L"Static") == 0 && !text.empty()) return text;
  }
  return std::u16string();
}

void Click(HWND dialog, int id) {
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

UiScript::~UiScript() {
  if (timer != 0) ::KillTimer(nullptr, timer);
  running = nullptr;
}

void UiScript::AnswerNextBox(int button, std::u16string* text) {
  ArmModal([button, text](HWND box) {
    if (text != nullptr) *text = MessageBoxText(box);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  });
}

void UiScript::Start() {
  running = this;
  timer = ::SetTimer(nullptr, 0, 30, &UiScript::OnTimer);
}

void CALLBACK UiScript::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (running != nullptr) running->Tick();
}

void UiScript::Tick() {
  const HWND main = mainDialog();
  if (main == nullptr) return;
  Search search{main, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindOtherDialog, reinterpret_cast<LPARAM>(&search));
  if (search.found != nullptr) {
    if (armed) {
      ModalHandler handler = std::move(armed);
      armed = nullptr;
      handler(search.found);
    } else {
      ++unexpectedDialogs;
      ::PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return;
  }
  if (busy) return;
  if (next < steps.size()) {
    busy = true;
    steps[next++]();
    busy = false;
    idleSince = ::GetTickCount();
    return;
  }
  // Out of steps and the dialog still runs: a step failed to end it.
  if (::GetTickCount() - idleSince > 3000) {
    ADD_FAILURE() << "the dialog did not end after the last step";
    ::EndDialog(main, -2);
  }
}

}  // namespace qv::test
