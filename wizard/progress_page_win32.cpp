#include "wizard/progress_page.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "app/product_texts.h"
#include "framework/data_exchange.h"
#include "resources/ui_ids.h"
#include "system/utf16.h"

namespace qv {

namespace {

int TextWidth(HDC dc, const std::u16string& text) {
  SIZE size{};
  ::GetTextExtentPoint32W(dc, AsWide(text), static_cast<int>(text.size()), &size);
  return size.cx;
}

std::u16string QuoteSpaces(const std::u16string& path) {
  std::vector<wchar_t> buffer(path.size() + 3, L'\0');
  std::copy(path.begin(), path.end(), buffer.begin());
  ::PathQuoteSpacesW(buffer.data());
  return FromWide(buffer.data());
}

}  // namespace

CProgressPage::CProgressPage(WizardContext& context) : CWizardPage(IDD_PAGE_PROGRESS, context) {}

BOOL CProgressPage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  ::SendMessageW(progressBar, PBM_SETRANGE32, 0, 100);
  // The installation shows the bar when it starts.
  ::ShowWindow(progressBar, SW_HIDE);
  return TRUE;
}

void CProgressPage::UpdatePageTexts() {
  SetDlgItemText(IDC_PAGE_STATUS, context.Format(1108, {context.Text(1007)}));
}

void CProgressPage::DoDataExchange(CDataExchange& dx) {
  ExchangeControl(dx, IDC_PROGRESS_LOG, logBox);
  ExchangeControl(dx, IDC_PROGRESS_BAR, progressBar);
  // After an installation the log stays as the installation wrote it.
  if (!dx.SaveAndValidate() && !context.state.installDone) WriteSummary();
}

void CProgressPage::WriteSummary() {
  const SetupState& state = context.state;
  ::SetWindowTextW(logBox, L"");
  AppendProgressLog(context.Format(1100, {GetProductName(true)}) + u"\r\n", false);
  AppendProgressLog(context.Text(1122), true);
  AppendProgressLog(context.Format(1123, {QuoteSpaces(state.installFolder)}) + u"\r\n", false);
  if (state.createMenuShortcuts) {
    AppendProgressLog(context.Format(1124, {QuoteSpaces(state.menuFolder)}) + u"\r\n", false);
  }
  if (state.createDesktopShortcut) AppendProgressLog(context.Text(1125) + u"\r\n", false);
  while (::SendMessageW(logBox, EM_GETFIRSTVISIBLELINE, 0, 0) != 0) {
    const LRESULT before = ::SendMessageW(logBox, EM_GETFIRSTVISIBLELINE, 0, 0);
    ::SendMessageW(logBox, EM_LINESCROLL, 0, -1);
    // A box that does not scroll must not hold the page up.
    if (::SendMessageW(logBox, EM_GETFIRSTVISIBLELINE, 0, 0) == before) break;
  }
}

void CProgressPage::AppendProgressLog(const std::u16string& text, bool banner) {
  std::u16string line = text;
  if (text.empty() || banner) {
    RECT client{};
    ::GetClientRect(logBox, &client);
    const DWORD margins = static_cast<DWORD>(::SendMessageW(logBox, EM_GETMARGINS, 0, 0));
    int available = client.right - client.left - 2 - LOWORD(margins) - HIWORD(margins);
    const HDC dc = ::GetDC(logBox);
    const HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(GetSafeHwnd(), WM_GETFONT, 0, 0)));
    std::u16string middle;
    if (!text.empty()) {
      middle = u" " + text + u" ";
      available -= TextWidth(dc, middle);
    }
    const int dash = TextWidth(dc, u"-");
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(logBox, dc);
    const int n = dash > 0 ? available / dash : 0;
    const int left = text.empty() ? n : n / 2;
    const int right = text.empty() ? 0 : (n + 1) / 2;
    line = std::u16string(left > 0 ? left : 0, u'-') + middle + std::u16string(right > 0 ? right : 0, u'-') +
           u"\r\n";
  }
  const int end = ::GetWindowTextLengthW(logBox);
  ::SendMessageW(logBox, EM_SETSEL, end, end);
  ::SendMessageW(logBox, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(AsWide(line)));
  ::SendMessageW(logBox, EM_LINESCROLL, 0, 1);
}

std::vector<std::pair<int, unsigned>> CProgressPage::ControlAnchors() const {
  return {{IDC_PROGRESS_LOG, ANCHOR_WIDEN | ANCHOR_TALLER},
          {IDC_PROGRESS_BAR, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN},
          {IDC_PAGE_STATUS, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN}};
}

}  // namespace qv
