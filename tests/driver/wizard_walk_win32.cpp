#include "wizard_walk_win32.h"

#include <commctrl.h>

#include <cwchar>
#include <cwctype>

#include "driver_output_win32.h"
#include "remote_controls_win32.h"
#include "resources/ui_ids.h"
#include "window_capture_win32.h"

namespace qv::driver {

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kPageWaitMs = 30000;
constexpr DWORD kClickWaitMs = 30000;
constexpr size_t kLogLines = 12;
constexpr int kMessageBoxTextId = 0xFFFF;

constexpr const wchar_t* kPageNames[] = {L"language", L"mode", L"folder", L"shortcuts", L"progress", L"finish"};
constexpr int kNoPage = -1;

bool IsDialog(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32770";
}

// A page is told by a control that only it has.
int PageOf(HWND page) {
  if (GetDlgItem(page, IDC_LANGUAGE_LIST) != nullptr) return 0;
  if (GetDlgItem(page, IDC_MODE_QUICK) != nullptr) return 1;
  if (GetDlgItem(page, IDC_FOLDER_LABEL) != nullptr) return 2;
  if (GetDlgItem(page, IDC_SHORTCUT_MENU_CHECK) != nullptr) return 3;
  if (GetDlgItem(page, IDC_PROGRESS_LOG) != nullptr) return 4;
  if (GetDlgItem(page, IDC_FINISH_TEXT) != nullptr) return 5;
  return kNoPage;
}

struct TopLevelSearch {
  DWORD processId;
  HWND exclude;
  bool wantFrame;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || window == search->exclude || !IsWindowVisible(window) || !IsDialog(window)) {
    return TRUE;
  }
  const bool isFrame = GetDlgItem(window, IDC_WIZARD_LEFT_PANEL) != nullptr;
  if (isFrame != search->wantFrame) return TRUE;
  search->found = window;
  return FALSE;
}

struct PageSearch {
  HWND frame;
  bool visibleOnly;
  int page;
  HWND found;
};

BOOL CALLBACK FindPage(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<PageSearch*>(param);
  if (GetParent(window) != search->frame || !IsDialog(window)) return TRUE;
  if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
  const int page = PageOf(window);
  if (search->page != kNoPage && page != search->page) return TRUE;
  search->found = window;
  return FALSE;
}

struct Delivery {
  HWND target;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD timeoutMs;
  bool delivered;
};

DWORD WINAPI DeliverOnThread(void* param) {
  auto* d = static_cast<Delivery*>(param);
  DWORD_PTR result = 0;
  d->delivered = SendMessageTimeoutW(d->target, d->message, d->wParam, d->lParam, SMTO_NORMAL, d->timeoutMs,
                                     &result) != 0;
  return 0;
}

std::wstring OneLine(std::wstring text) {
  for (wchar_t& c : text) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return text;
}

std::wstring ButtonState(HWND button) {
  return ControlText(button) + (IsWindowEnabled(button) ? L"" : L" (disabled)");
}

bool SameText(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace

WizardWalk::~WizardWalk() {
  if (process.hProcess != nullptr) {
    if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (desktop != nullptr) CloseDesktop(desktop);
}

void WizardWalk::Fail(const std::wstring& why) {
  failed = true;
  PrintLine(L"walk failed: " + why);
}

bool WizardWalk::StartSetup() {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  std::wstring desktopName = options.desktopName;
  if (!desktopName.empty() && desktopName != L"-") {
    // The setup and the driver share a desktop of their own, so its windows can be found.
    desktop = CreateDesktopW(desktopName.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (desktop == nullptr || !SetThreadDesktop(desktop)) {
      Fail(L"no desktop " + desktopName + L" (error " + std::to_wstring(GetLastError()) + L")");
      return false;
    }
    startup.lpDesktop = &desktopName[0];
  }
  std::wstring command = L"\"" + options.setupPath + L"\"";
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    Fail(L"cannot start " + options.setupPath + L" (error " + std::to_wstring(GetLastError()) + L")");
    process = PROCESS_INFORMATION{};
    return false;
  }
  PrintLine(L"started: " + options.setupPath);
  return true;
}

bool WizardWalk::WaitForFrame() {
  std::vector<HWND> answered;
  for (DWORD waited = 0; waited < kPageWaitMs; waited += kPollMs) {
    TopLevelSearch search = {process.dwProcessId, nullptr, true, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      frame = search.found;
      PrintLine(L"wizard: " + ControlText(frame));
      return true;
    }
    // A box before the wizard (no rights, a running product, a second copy) ends the walk.
    AnswerMessageBoxes(IDCANCEL, answered);
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      Fail(L"the setup ended before its wizard opened, exit code " + std::to_wstring(code));
      return false;
    }
  }
  Fail(L"no wizard window within " + std::to_wstring(kPageWaitMs / 1000) + L" s");
  return false;
}

int WizardWalk::VisiblePage() const {
  PageSearch search = {frame, true, kNoPage, nullptr};
  EnumChildWindows(frame, FindPage, reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr ? PageOf(search.found) : kNoPage;
}

HWND WizardWalk::PageWindow(int page) const {
  PageSearch search = {frame, false, page, nullptr};
  EnumChildWindows(frame, FindPage, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool WizardWalk::WaitForPageChange(int from, int& reached) {
  for (DWORD waited = 0; waited < kPageWaitMs; waited += kPollMs) {
    const int page = VisiblePage();
    if (page != kNoPage && page != from) {
      reached = page;
      return true;
    }
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
      Fail(L"the setup ended while a page was awaited");
      return false;
    }
  }
  Fail(L"no page change within " + std::to_wstring(kPageWaitMs / 1000) + L" s");
  return false;
}

void WizardWalk::ReportButtons() {
  PrintLine(L"back: " + ButtonState(GetDlgItem(frame, IDC_WIZARD_BACK)));
  PrintLine(L"next: " + ButtonState(GetDlgItem(frame, IDOK)));
  PrintLine(L"cancel: " + ButtonState(GetDlgItem(frame, IDCANCEL)));
}

void WizardWalk::ReportPage(int page) {
  visited.push_back(page);
  PrintLine(std::wstring(L"page: ") + kPageNames[page]);
  PrintLine(L"status: " + OneLine(ControlText(GetDlgItem(PageWindow(page), IDC_PAGE_STATUS))));
  ReportButtons();
}

void WizardWalk::Settle() const {
  // Round trips through the setup's queue, with a pause for its painting in between.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(300);
  SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

std::wstring WizardWalk::ShotPath(const std::wstring& name) {
  const std::wstring number = std::to_wstring(++shots);
  return options.screenshotFolder + L"\\" + std::wstring(number.size() < 2 ? 1 : 0, L'0') + number + L"-" + name +
         L".bmp";
}

void WizardWalk::Screenshot(const std::wstring& name) {
  if (options.screenshotFolder.empty()) return;
  Settle();
  const std::wstring path = ShotPath(name);
  if (SaveWindowBitmap(frame, path)) {
    PrintLine(L"screenshot: " + path);
  } else {
    PrintLine(L"screenshot failed: " + path + L" (error " + std::to_wstring(GetLastError()) + L")");
  }
}

void WizardWalk::AnswerMessageBoxes(int preferredAnswer, std::vector<HWND>& answered) {
  TopLevelSearch search = {process.dwProcessId, frame, false, nullptr};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  const HWND box = search.found;
  if (box == nullptr) return;
  for (HWND done : answered) {
    if (done == box) return;
  }
  const std::wstring text = ControlText(GetDlgItem(box, kMessageBoxTextId));
  if (text.empty()) return;  // still being built
  answered.push_back(box);
  int answer = preferredAnswer;
  if (GetDlgItem(box, answer) == nullptr) {
    DWORD_PTR def = 0;
    SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_NORMAL, 5000, &def);
    answer = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
  }
  const std::wstring answerText = OneLine(ControlText(GetDlgItem(box, answer)));
  PrintLine(L"message box: " + ControlText(box) + L": " + OneLine(text));
  if (!options.screenshotFolder.empty()) {
    Sleep(300);
    const std::wstring path = ShotPath(L"message");
    if (SaveWindowBitmap(box, path)) PrintLine(L"screenshot: " + path);
  }
  PrintLine(L"answer: " + answerText);
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
}

bool WizardWalk::Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
                         int preferredAnswer) {
  Delivery delivery = {target, message, wParam, lParam, timeoutMs, false};
  HANDLE thread = CreateThread(nullptr, 0, DeliverOnThread, &delivery, 0, nullptr);
  if (thread == nullptr) {
    Fail(L"no thread for a click");
    return false;
  }
  std::vector<HWND> answered;
  while (WaitForSingleObject(thread, kPollMs) == WAIT_TIMEOUT) AnswerMessageBoxes(preferredAnswer, answered);
  CloseHandle(thread);
  boxesAnswered = answered.size();
  return delivery.delivered;
}

bool WizardWalk::Click(int buttonId, DWORD timeoutMs, int preferredAnswer) {
  const HWND button = GetDlgItem(frame, buttonId);
  if (button == nullptr || !IsWindowEnabled(button)) {
    Fail(L"button " + std::to_wstring(buttonId) + L" is not there to click");
    return false;
  }
  if (!Deliver(frame, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button), timeoutMs,
               preferredAnswer)) {
    // The click may have ended the dialog, which ends the reply as well.
    if (WaitForSingleObject(process.hProcess, 2000) == WAIT_OBJECT_0) return true;
    Fail(L"the click on button " + std::to_wstring(buttonId) + L" did not return");
    return false;
  }
  return true;
}

bool WizardWalk::PickLanguage(HWND page) {
  const HWND list = GetDlgItem(page, IDC_LANGUAGE_LIST);
  std::vector<ComboItem> items;
  if (!ReadComboBoxExItems(list, items)) {
    Fail(L"cannot read the language list");
    return false;
  }
  std::wstring offered;
  int chosen = -1;
  const bool byIndex = !options.language.empty() && options.language.find_first_not_of(L"0123456789") ==
                                                        std::wstring::npos;
  for (size_t i = 0; i < items.size(); ++i) {
    offered += (i == 0 ? L"" : L", ") + items[i].text;
    const bool match = byIndex ? items[i].data == std::wcstol(options.language.c_str(), nullptr, 10)
                               : SameText(items[i].text, options.language);
    if (match && chosen < 0) chosen = static_cast<int>(i);
  }
  PrintLine(L"languages: " + offered);
  if (options.language.empty()) return true;
  if (chosen < 0) {
    Fail(L"no language " + options.language + L" in the list");
    return false;
  }
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  if (!Deliver(page, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list),
               kClickWaitMs, IDOK)) {
    Fail(L"the language pick did not return");
    return false;
  }
  PrintLine(L"language: " + items[static_cast<size_t>(chosen)].text);
  PrintLine(L"wizard: " + ControlText(frame));
  PrintLine(L"status: " + OneLine(ControlText(GetDlgItem(page, IDC_PAGE_STATUS))));
  ReportButtons();
  return true;
}

void WizardWalk::ChooseMode(HWND page) {
  const HWND quick = GetDlgItem(page, IDC_MODE_QUICK);
  const HWND custom = GetDlgItem(page, IDC_MODE_CUSTOM);
  SendMessageW(quick, BM_SETCHECK, options.customMode ? BST_UNCHECKED : BST_CHECKED, 0);
  SendMessageW(custom, BM_SETCHECK, options.customMode ? BST_CHECKED : BST_UNCHECKED, 0);
  const int id = options.customMode ? IDC_MODE_CUSTOM : IDC_MODE_QUICK;
  Deliver(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)), kClickWaitMs,
          IDOK);
  PrintLine(std::wstring(L"mode: ") + (options.customMode ? L"custom" : L"quick"));
}

void WizardWalk::ChooseFolder(HWND page) {
  const HWND edit = GetDlgItem(page, IDC_FOLDER_EDIT);
  if (!options.folder.empty()) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options.folder.c_str()), SMTO_NORMAL, 5000,
                        &result);
  }
  PrintLine(L"folder: " + ControlText(edit));
}

void WizardWalk::ChooseShortcuts(HWND page) {
  const struct {
    int id;
    int choice;
    const wchar_t* name;
  } boxes[] = {{IDC_SHORTCUT_MENU_CHECK, options.menuShortcuts, L"menu shortcuts: "},
               {IDC_SHORTCUT_DESKTOP_CHECK, options.desktopShortcut, L"desktop shortcut: "}};
  for (const auto& box : boxes) {
    const HWND check = GetDlgItem(page, box.id);
    if (box.choice >= 0) {
      SendMessageW(check, BM_SETCHECK, box.choice ? BST_CHECKED : BST_UNCHECKED, 0);
      Deliver(page, WM_COMMAND, MAKEWPARAM(box.id, BN_CLICKED), reinterpret_cast<LPARAM>(check), kClickWaitMs, IDOK);
    }
    const bool checked = SendMessageW(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
    PrintLine(box.name + std::wstring(checked ? L"yes" : L"no"));
  }
  PrintLine(L"menu folder: " + ControlText(GetDlgItem(page, IDC_SHORTCUT_MENU_EDIT)));
}

void WizardWalk::ReportInstallation() {
  const bool done = !IsWindowEnabled(GetDlgItem(frame, IDC_WIZARD_BACK));
  PrintLine(std::wstring(L"installation: ") + (done ? L"done" : L"not done"));
  const HWND progress = PageWindow(4);
  PrintLine(L"status: " + OneLine(ControlText(GetDlgItem(progress, IDC_PAGE_STATUS))));
  ReportButtons();
  PrintLine(L"installation folder: " + ControlText(GetDlgItem(PageWindow(2), IDC_FOLDER_EDIT)));
  PrintLine(L"progress log (last lines):");
  for (const std::wstring& line : LastLines(ControlText(GetDlgItem(progress, IDC_PROGRESS_LOG)), kLogLines)) {
    PrintLine(L"  " + line);
  }
  Screenshot(done ? L"progress-done" : L"progress-not-done");
}

bool WizardWalk::LeaveWithCancel() {
  if (!Click(IDCANCEL, kClickWaitMs, IDYES)) return false;
  return WaitForExit();
}

bool WizardWalk::WaitForExit() {
  if (WaitForSingleObject(process.hProcess, kPageWaitMs) != WAIT_OBJECT_0) {
    Fail(L"the setup did not end after Exit");
    return false;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  PrintLine(L"setup ended: exit code " + std::to_wstring(code));
  return true;
}

WalkResult WizardWalk::Run() {
  if (!StartSetup() || !WaitForFrame()) return WalkResult::Failed;
  int page = kNoPage;
  bool walking = WaitForPageChange(kNoPage, page);
  while (walking && !failed) {
    ReportPage(page);
    if (options.stopAt == kPageNames[page]) {
      Screenshot(kPageNames[page]);
      walking = LeaveWithCancel();
      break;
    }
    const HWND window = PageWindow(page);
    if (page == 0 && !PickLanguage(window)) break;
    if (page == 1) ChooseMode(window);
    if (page == 2) ChooseFolder(window);
    if (page == 3) ChooseShortcuts(window);
    Screenshot(kPageNames[page]);
    if (page == 5) {
      walking = LeaveWithCancel();
      break;
    }
    if (page == 4) {
      PrintLine(L"installing");
      if (!Click(IDOK, options.timeoutSeconds * 1000, IDOK)) break;
      ReportInstallation();
      if (IsWindowEnabled(GetDlgItem(frame, IDC_WIZARD_BACK))) {
        walking = LeaveWithCancel();
        break;
      }
    }
    if (!Click(IDOK, kClickWaitMs, IDOK)) break;
    if (boxesAnswered > 0 && VisiblePage() == page) {
      // A refused page (its data did not validate) stays; waiting would only time out.
      Fail(L"Next was refused on the " + std::wstring(kPageNames[page]) + L" page");
      break;
    }
    walking = WaitForPageChange(page, page);
  }
  std::wstring order;
  for (int p : visited) order += (order.empty() ? L"" : L" ") + std::wstring(kPageNames[p]);
  PrintLine(L"pages: " + order);
  if (failed || !walking) return WalkResult::Failed;
  PrintLine(L"walk completed");
  return WalkResult::Completed;
}

}  // namespace qv::driver
