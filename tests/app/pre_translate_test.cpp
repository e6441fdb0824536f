// The application object's share of the message pumps: dialog keyboard navigation for
// messages that the extraction engine's pump handles in the middle of an installation.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "archive/pump_messages.h"
#include "framework/application.h"

namespace qv {
namespace {

// A dialog template in memory: two push buttons, ids 1 and 2.
std::vector<WORD> TwoButtonTemplate() {
  std::vector<WORD> words;
  auto add32 = [&](DWORD value) {
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
  };
  auto align = [&] {
    if (words.size() % 2) words.push_back(0);
  };
  add32(WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);  // style
  add32(0);                                                   // extended style
  words.push_back(2);                                         // controls
  for (WORD v : {0, 0, 100, 40}) words.push_back(v);
  words.push_back(0);  // no menu
  words.push_back(0);  // standard class
  words.push_back(0);  // no title
  words.push_back(8);  // font size
  for (wchar_t c : std::wstring(L"MS Shell Dlg")) words.push_back(c);
  words.push_back(0);
  for (WORD id : {1, 2}) {
    align();
    add32(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
    add32(0);
    for (WORD v : {static_cast<WORD>(5 + (id - 1) * 45), WORD{5}, WORD{40}, WORD{14}}) words.push_back(v);
    words.push_back(id);
    words.push_back(0xFFFF);
    words.push_back(0x0080);  // button class
    words.push_back(0);       // no text
    words.push_back(0);       // no creation data
  }
  return words;
}

INT_PTR CALLBACK PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

void PostKey(HWND window, UINT key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

TEST(PreTranslateMessage, TabInsideAPumpMovesTheFocusBetweenDialogControls) {
  CWinApp app;
  std::vector<WORD> dialogTemplate = TwoButtonTemplate();
  HWND dialog = CreateDialogIndirectW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(dialogTemplate.data()),
                                      nullptr, PlainDialog);
  ASSERT_NE(dialog, nullptr) << GetLastError();
  HWND first = GetDlgItem(dialog, 1), second = GetDlgItem(dialog, 2);
  SetFocus(first);
  ASSERT_EQ(GetFocus(), first);

  SetPreTranslateMessageHook(nullptr);
  PostKey(first, VK_TAB);
  Sleep(2 * kPumpIntervalMs);
  PumpMessages();
  EXPECT_EQ(GetFocus(), first) << "without the application object a Tab reaches the button itself";

  SetPreTranslateMessageHook([](void* message) {
    return CWinApp::Current()->PreTranslateMessage(static_cast<MSG*>(message));
  });
  PostKey(first, VK_TAB);
  Sleep(2 * kPumpIntervalMs);
  PumpMessages();
  EXPECT_EQ(GetFocus(), second);

  SetPreTranslateMessageHook(nullptr);
  DestroyWindow(dialog);
}

TEST(PreTranslateMessage, LeavesMessagesOutsideDialogsAndNonKeyMessagesToTheirWindows) {
  CWinApp app;
  HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(plain, nullptr);
  MSG key = {plain, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
  EXPECT_FALSE(app.PreTranslateMessage(&key));
  MSG paint = {plain, WM_PAINT, 0, 0, 0, {0, 0}};
  EXPECT_FALSE(app.PreTranslateMessage(&paint));
  DestroyWindow(plain);
}

}  // namespace
}  // namespace qv
