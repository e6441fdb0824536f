// The setup started as a user starts it, watched from outside: the windows it shows, their
// captions and texts, and how it ends. The setup and this test share one desktop of their
// own, so the setup's windows can be found from here.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/remembered_language.h"
#include "system/named_objects.h"
#include "system/system_error_text.h"
#include "system/utf16.h"

namespace qv {
namespace {

constexpr DWORD kWaitMs = 30000;
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring SetupPath() {
  std::wstring path = AsWide(Utf8ToUtf16(QV_SETUP_EXE));
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

struct Shown {
  HWND window = nullptr;
  std::u16string caption;
  std::u16string text;
};

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindDialogOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner != search->processId || !IsWindowVisible(window) || std::wstring(className) != L"#32770") return TRUE;
  search->found = window;
  return FALSE;
}

std::u16string WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return FromWide(buffer);
}

class SetupRun {
 public:
  explicit SetupRun(HDESK) {
    std::wstring command = L"\"" + SetupPath() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<wchar_t*>(L"qvstartup");
    started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
  }
  ~SetupRun() {
    if (!started) return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  bool Started() const { return started; }

  // The next visible dialog of the process other than `previous`; empty when none appears.
  Shown WaitForBox(HWND previous = nullptr) {
    Shown shown;
    for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
      Search search = {info.dwProcessId, nullptr};
      EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&search));
      if (search.found && search.found != previous && IsWindow(search.found)) {
        shown.window = search.found;
        shown.caption = WindowText(search.found);
        shown.text = WindowText(GetDlgItem(search.found, kMessageBoxTextId));
        if (!shown.text.empty()) return shown;
      }
      if (WaitForSingleObject(info.hProcess, 50) == WAIT_OBJECT_0) break;
    }
    return Shown();
  }
  void Press(const Shown& box, int button) {
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }
  // The exit code, or -1 when the process is still running after the wait.
  long WaitForExit() {
    if (WaitForSingleObject(info.hProcess, kWaitMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return static_cast<long>(code);
  }

 private:
  PROCESS_INFORMATION info = {};
  bool started = false;
};

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    desktop = CreateDesktopW(L"qvstartup", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    ASSERT_NE(desktop, nullptr) << GetLastError();
    ASSERT_TRUE(SetThreadDesktop(desktop)) << GetLastError();
    keyName = FromWide(ProductUninstallKeyPrefix()) + u"Vantrel 4";
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, AsWide(keyName));
  }
  void TearDown() override {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, AsWide(keyName));
    if (desktop) CloseDesktop(desktop);
  }
  void Remember(DWORD language) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, AsWide(keyName), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, L"QvLanguage", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&language), sizeof(language));
    RegCloseKey(key);
  }

  HDESK desktop = nullptr;
  std::u16string keyName;
  // This test plays the running product: one unit of the presence semaphore, so every
  // setup stops at the running-product question, whose caption shows its language.
  CountedSemaphore product{kPresenceSemaphoreName, 0, 0x7FFFFFFF};
  bool productRunning = product.AddUnit();
};

struct RememberedCase {
  DWORD remembered;
  std::u16string caption;
  std::u16string text;
};

void PrintTo(const RememberedCase& c, std::ostream* os) { *os << "QvLanguage " << c.remembered; }

class StartupLanguage : public Startup, public ::testing::WithParamInterface<RememberedCase> {};

TEST_P(StartupLanguage, RunningProductQuestionComesInTheRememberedLanguageUntilCancel) {
  ASSERT_TRUE(productRunning);
  Remember(GetParam().remembered);
  SetupRun setup(desktop);
  ASSERT_TRUE(setup.Started()) << GetLastError();
  Shown box = setup.WaitForBox();
  ASSERT_NE(box.window, nullptr) << "no question shown";
  EXPECT_EQ(Utf16ToUtf8(box.caption), Utf16ToUtf8(GetParam().caption));
  EXPECT_EQ(Utf16ToUtf8(box.text), Utf16ToUtf8(GetParam().text));
  setup.Press(box, IDRETRY);
  Shown again = setup.WaitForBox(box.window);
  ASSERT_NE(again.window, nullptr) << "Retry with the product still running must ask again";
  EXPECT_EQ(again.text, box.text);
  setup.Press(again, IDCANCEL);
  EXPECT_EQ(setup.WaitForExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Remembered, StartupLanguage,
    ::testing::Values(RememberedCase{11, u"Installazione -- Vantrel 4.05b",
                                     u"Chiudere 'Vantrel' prima di continuare l'installazione."},
                      RememberedCase{5, u"Installer -- Vantrel 4.05b",
                                     u"You should close 'Vantrel' before continuing Installation."},
                      RememberedCase{4, u"Installer -- Vantrel 4.05b",
                                     u"You should close 'Vantrel' before continuing Installation."},
                      RememberedCase{9, u"Instalare -- Vantrel 4.05b",
                                     u"Trebuie s\u0103 \u00EEnchide\u021Bi 'Vantrel' \u00EEnainte de a continua "
                                     u"instalarea."}));

TEST_F(Startup, SecondCopyShowsTheSystemsBusyTextAndEndsWhileTheFirstGoesOn) {
  ASSERT_TRUE(productRunning);
  SetupRun first(desktop);
  ASSERT_TRUE(first.Started());
  Shown firstBox = first.WaitForBox();
  ASSERT_NE(firstBox.window, nullptr);

  SetupRun second(desktop);
  ASSERT_TRUE(second.Started());
  Shown busy = second.WaitForBox();
  ASSERT_NE(busy.window, nullptr) << "the second copy showed nothing";
  EXPECT_EQ(Utf16ToUtf8(busy.text), Utf16ToUtf8(GetSystemErrorText(kErrorBusy, 0)));
  EXPECT_NE(busy.caption, firstBox.caption) << "the busy box has the system's title, not the setup's";
  second.Press(busy, IDOK);
  EXPECT_EQ(second.WaitForExit(), 0);

  EXPECT_TRUE(IsWindow(firstBox.window)) << "the first copy must be unaffected";
  first.Press(firstBox, IDCANCEL);
  EXPECT_EQ(first.WaitForExit(), 0);
}

}  // namespace
}  // namespace qv
