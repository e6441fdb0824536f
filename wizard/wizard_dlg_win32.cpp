#include "wizard/wizard_dlg.h"

#include "framework/application.h"
#include "resources/ui_ids.h"
#include "system/utf16.h"
#include "wizard/about_dlg.h"
#include "wizard/frame_layout.h"

namespace qv {

namespace {

// Pages in page order, with the order in which their windows are created.
constexpr std::array<int, WIZARD_PAGE_COUNT> kCreationOrder = {
    PAGE_LANGUAGE, PAGE_MODE, PAGE_FOLDER, PAGE_SHORTCUTS, PAGE_PROGRESS, PAGE_FINISH};

constexpr UINT kQuietMove = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;

}  // namespace

CWizardDlg::CWizardDlg(WizardContext& context)
    : CDialog(IDD_WIZARD),
      context(context),
      languagePage(context, *this),
      modePage(context),
      folderPage(context),
      shortcutPage(context),
      progressPage(context),
      finishPage(context),
      appIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SETUP))) {}

CWizardDlg::~CWizardDlg() = default;

std::u16string CWizardDlg::AboutItemText() const {
  const std::u16string about = context.Format(1003, {context.SetupTitle(false)});
  return about.empty() ? std::u16string() : u"&" + about + u"...";
}

BOOL CWizardDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The application's message boxes belong to the wizard while it runs.
  if (CWinApp* app = CWinApp::Current()) app->SetMainWindow(GetSafeHwnd());
  SetWindowText(context.SetupTitle(true));

  const HMENU systemMenu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
  if (systemMenu != nullptr) {
    const std::u16string about = AboutItemText();
    if (!about.empty()) {
      ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
      ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, AsWide(about));
    }
    ::DeleteMenu(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND);
    ::DeleteMenu(systemMenu, SC_SIZE, MF_BYCOMMAND);
  }
  ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));

  CWizardPage* const byIndex[WIZARD_PAGE_COUNT] = {&languagePage, &modePage,     &folderPage,
                                                   &shortcutPage, &progressPage, &finishPage};
  for (int index : kCreationOrder) {
    CWizardPage* page = byIndex[index];
    page->Create(GetSafeHwnd());
    pages[static_cast<size_t>(index)] = page;
  }
  LayoutPages();
  UpdateTexts();
  SetPage(PAGE_LANGUAGE);
  // With a newer version installed the run can only change the language or end.
  if (context.state.previousInstallState == PREVIOUS_NEWER) EnableDlgItem(IDOK, false);
  return FALSE;  // SetPage placed the focus
}

void CWizardDlg::LayoutPages() {
  RECT client{};
  ::GetClientRect(GetSafeHwnd(), &client);
  std::vector<LayoutSize> sizes;
  for (CWizardPage* page : pages) {
    const LayoutRect r = ChildRect(page->GetSafeHwnd());
    sizes.push_back(LayoutSize{r.Width(), r.Height()});
  }
  const FrameLayout layout =
      ComputeFrameLayout(LayoutRect{client.left, client.top, client.right, client.bottom},
                         ChildRect(GetDlgItem(IDC_WIZARD_LEFT_PANEL)), ChildRect(GetDlgItem(IDC_WIZARD_SEPARATOR)),
                         sizes);
  const LayoutRect& u = layout.pageRect;

  RECT frame{};
  ::GetWindowRect(GetSafeHwnd(), &frame);
  ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, frame.right - frame.left + layout.dx,
                 frame.bottom - frame.top + layout.dy, kQuietMove | SWP_NOMOVE);

  for (CWizardPage* page : pages) {
    const LayoutRect p = ChildRect(page->GetSafeHwnd());
    PlaceChild(page->GetSafeHwnd(), u);
    page->LayoutControls(u.Width() - p.Width(), u.Height() - p.Height());
  }

  const std::pair<int, unsigned> frameAnchors[] = {
      {IDC_WIZARD_LEFT_PANEL, ANCHOR_TALLER},
      {IDC_WIZARD_SEPARATOR, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN},
      {IDC_WIZARD_BACK, ANCHOR_MOVE_RIGHT | ANCHOR_MOVE_DOWN},
      {IDOK, ANCHOR_MOVE_RIGHT | ANCHOR_MOVE_DOWN},
      {IDCANCEL, ANCHOR_MOVE_RIGHT | ANCHOR_MOVE_DOWN}};
  for (const auto& [id, anchor] : frameAnchors) {
    const HWND control = GetDlgItem(id);
    PlaceChild(control, ApplyAnchor(ChildRect(control), anchor, layout.dx, layout.dy));
  }
}

void CWizardDlg::UpdateTexts() {
  SetWindowText(context.SetupTitle(true));
  const HMENU systemMenu = ::GetSystemMenu(GetSafeHwnd(), FALSE);
  if (systemMenu != nullptr) {
    ::ModifyMenuW(systemMenu, IDM_ABOUTBOX, MF_BYCOMMAND | MF_STRING, IDM_ABOUTBOX,
                  AsWide(AboutItemText()));
  }
  UpdateButtonTexts();
  for (CWizardPage* page : pages) page->UpdatePageTexts();
}

void CWizardDlg::UpdateButtonTexts() {
  const WizardButtons b = ComputeWizardButtons(currentPage, context.state.installDone);
  SetDlgItemText(IDOK, b.nextLabel == NextLabel::Install ? context.Text(1007) : context.Text(1006) + u"  >");
  SetDlgItemText(IDC_WIZARD_BACK, u"<  " + context.Text(1005));
  SetDlgItemText(IDCANCEL, b.cancelLabel == CancelLabel::Exit ? context.Text(1004) : context.Text(1002));
}

void CWizardDlg::SetPage(int index) {
  if (currentPage != NO_PAGE) {
    CWizardPage* current = Page(currentPage);
    if (!current->UpdateData(true)) return;
    ::ShowWindow(current->GetSafeHwnd(), SW_HIDE);
  }
  index = ResolvePageRequest(currentPage, index, context.state.customMode);
  if (index < 0 || index >= WIZARD_PAGE_COUNT) return;
  // A page shown again under the same index keeps what it shows (the installation's log).
  if (index != currentPage) Page(index)->UpdateData(false);
  currentPage = index;
  ::ShowWindow(Page(index)->GetSafeHwnd(), SW_SHOW);

  UpdateButtonTexts();
  const WizardButtons b = ComputeWizardButtons(currentPage, context.state.installDone);
  EnableDlgItem(IDC_WIZARD_BACK, b.backEnabled);
  EnableDlgItem(IDOK, b.nextEnabled);
  ::SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(b.defaultButton)), TRUE);
  ::SendMessageW(GetSafeHwnd(), DM_SETDEFID, static_cast<WPARAM>(b.defaultButton), 0);
}

void CWizardDlg::OnOK() {
  // Enter reaches here even when Next is disabled.
  if (!::IsWindowEnabled(GetDlgItem(IDOK))) return;
  if (NextRunsInstallation(currentPage, context.state.installDone)) {
    EnableDlgItem(IDC_WIZARD_BACK, false);
    EnableDlgItem(IDOK, false);
    EnableDlgItem(IDCANCEL, false);
    context.state.installDone = context.runInstall ? context.runInstall(progressPage) : false;
    SetPage(currentPage);
    EnableDlgItem(IDCANCEL, true);
    return;
  }
  SetPage(currentPage + 1);
}

void CWizardDlg::OnCancel() {
  // Esc and the close command reach here even while Cancel is disabled (installation).
  if (!::IsWindowEnabled(GetDlgItem(IDCANCEL))) return;
  const SetupState& state = context.state;
  if (ExitNeedsConfirmation(state.installDone, state.previousInstallState, currentPage)) {
    const std::u16string question = context.Text(1110);
    if (AppMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
      return;
    }
  }
  EndDialog(state.installDone ? IDOK : IDCANCEL);
}

bool CWizardDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (id == IDC_WIZARD_BACK && code == BN_CLICKED) {
    if (::IsWindowEnabled(GetDlgItem(IDC_WIZARD_BACK))) SetPage(currentPage - 1);
    return true;
  }
  return CDialog::OnCommand(id, code, control);
}

void CWizardDlg::PaintMinimized() {
  PAINTSTRUCT ps{};
  const HDC dc = ::BeginPaint(GetSafeHwnd(), &ps);
  ::SendMessageW(GetSafeHwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  ::GetClientRect(GetSafeHwnd(), &client);
  const int iconWidth = ::GetSystemMetrics(SM_CXICON);
  const int iconHeight = ::GetSystemMetrics(SM_CYICON);
  ::DrawIcon(dc, (client.right - iconWidth + 1) / 2, (client.bottom - iconHeight + 1) / 2, appIcon);
  ::EndPaint(GetSafeHwnd(), &ps);
}

bool CWizardDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(context);
        about.DoModal(GetSafeHwnd());
        result = 0;
        return true;
      }
      return false;
    case WM_INITMENUPOPUP:
      if (HIWORD(lParam) == 0) return false;  // not the system menu
      result = Default();
      {
        const HMENU menu = reinterpret_cast<HMENU>(wParam);
        const bool minimized = ::IsIconic(GetSafeHwnd()) != FALSE;
        ::EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (minimized ? MF_GRAYED : MF_ENABLED));
        ::EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (minimized ? MF_ENABLED : MF_GRAYED));
      }
      return true;
    case WM_PAINT:
      if (!::IsIconic(GetSafeHwnd())) return false;
      PaintMinimized();
      result = 0;
      return true;
    case WM_DESTROY:
      if (CWinApp* app = CWinApp::Current(); app != nullptr && app->GetMainWindow() == GetSafeHwnd()) {
        app->SetMainWindow(nullptr);
      }
      return false;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(appIcon);
      return true;
    case WM_GETMINMAXINFO: {
      result = Default();
      // Maximizing never changes the window.
      WINDOWPLACEMENT placement{};
      placement.length = sizeof(placement);
      if (::GetWindowPlacement(GetSafeHwnd(), &placement)) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        const RECT& normal = placement.rcNormalPosition;
        info->ptMaxSize = POINT{normal.right - normal.left, normal.bottom - normal.top};
        info->ptMaxPosition = POINT{normal.left, normal.top};
      }
      return true;
    }
    default:
      return CDialog::OnMessage(message, wParam, lParam, result);
  }
}

}  // namespace qv
