#include "wizard/language_page.h"

#include <algorithm>

#include "app/languages.h"
#include "app/product_texts.h"
#include "app/user_language.h"
#include "framework/application.h"
#include "framework/data_exchange.h"
#include "resources/ui_ids.h"
#include "system/utf16.h"
#include "wizard/wizard_dlg.h"

namespace qv {

namespace {

// The selectable languages in list order.
constexpr int kListedLanguages[] = {0, 1, 2, 3, 11, 5, 9};
constexpr int kFlagWidth = 18;
constexpr int kFlagHeight = 12;

}  // namespace

CLanguagePage::CLanguagePage(WizardContext& context, CWizardDlg& frame)
    : CWizardPage(IDD_PAGE_LANGUAGE, context), frame(frame) {}

CLanguagePage::~CLanguagePage() {
  // The list must be gone before the pictures it shows.
  DestroyWindow();
  if (flagImages != nullptr) ImageList_Destroy(flagImages);
}

BOOL CLanguagePage::OnInitDialog() {
  CWizardPage::OnInitDialog();
  flagImages = ImageList_Create(kFlagWidth, kFlagHeight, ILC_COLOR24, 8, 1);
  ::SendMessageW(languageList, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(flagImages));

  const HINSTANCE module = ::GetModuleHandleW(nullptr);
  int selected = -1;
  int position = 0;
  std::vector<std::u16string> names;
  for (int index : kListedLanguages) {
    std::u16string name = GetLanguageDisplayName(index);
    const HICON flag = static_cast<HICON>(::LoadImageW(
        module, MAKEINTRESOURCEW(LanguageFlagIcon(index)), IMAGE_ICON, 16, 12, LR_DEFAULTCOLOR));
    const int image = flag != nullptr ? ImageList_AddIcon(flagImages, flag) : -1;
    if (flag != nullptr) ::DestroyIcon(flag);

    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
    item.iItem = position;
    item.pszText = const_cast<wchar_t*>(AsWide(name));
    item.iImage = image;
    item.iSelectedImage = image;
    item.lParam = index;
    ::SendMessageW(languageList, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (index == context.state.languageIndex) selected = position;
    names.push_back(std::move(name));
    ++position;
  }

  const HDC dc = ::GetDC(GetSafeHwnd());
  const HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(GetSafeHwnd(), WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::u16string& name : names) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, AsWide(name), static_cast<int>(name.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(GetSafeHwnd(), dc);
  ::SendMessageW(languageList, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + 30), 0);

  ::SendMessageW(languageList, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return TRUE;
}

bool CLanguagePage::OnCommand(WORD id, WORD code, HWND control) {
  if (id == IDC_LANGUAGE_LIST && code == CBN_SELCHANGE) {
    OnLanguageChanged();
    return true;
  }
  return CWizardPage::OnCommand(id, code, control);
}

void CLanguagePage::OnLanguageChanged() {
  const LRESULT position = ::SendMessageW(languageList, CB_GETCURSEL, 0, 0);
  if (position == CB_ERR) return;
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_LPARAM;
  item.iItem = position;
  if (!::SendMessageW(languageList, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return;

  SetupState& state = context.state;
  state.languageIndex = static_cast<int32_t>(item.lParam);
  state.applicationTitle = context.SetupTitle(true);
  if (CWinApp* app = CWinApp::Current()) app->SetAppName(state.applicationTitle);
  frame.UpdateTexts();
  // Dutch: the product is installed in Dutch, the installer runs in English.
  if (!HasInstallerTexts(state.languageIndex)) {
    AppMessageBox(context.Format(1129, {GetProductName(false)}), MB_OK | MB_ICONINFORMATION);
  }
}

void CLanguagePage::UpdatePageTexts() {
  const SetupState& state = context.state;
  const std::u16string product = GetProductName(true);
  SetDlgItemText(IDC_LANGUAGE_LABEL, context.Text(1014));
  SetDlgItemText(IDC_LANGUAGE_COPYRIGHT, context.Format(1109, {product}));
  std::u16string info;
  std::u16string status;
  switch (state.previousInstallState) {
    case PREVIOUS_SAME:
      info = context.Format(1102, {product}) + u"\r\n" + context.Text(1104);
      status = context.Format(1105, {context.Text(1006), context.Text(1002)});
      break;
    case PREVIOUS_OLDER:
      info = context.Format(1101, {state.installedVersionText, product});
      status = context.Format(1106, {context.Text(1006)});
      break;
    case PREVIOUS_NEWER:
      info = context.Format(1100, {product}) + u"\r\n" + context.Format(1103, {state.installedVersionText});
      status = context.Format(1107, {context.Text(1002)});
      break;
    default:
      info = context.Format(1100, {product});
      status = context.Format(1106, {context.Text(1006)});
      break;
  }
  SetDlgItemText(IDC_LANGUAGE_INFO, info);
  SetDlgItemText(IDC_PAGE_STATUS, status);
}

void CLanguagePage::DoDataExchange(CDataExchange& dx) { ExchangeControl(dx, IDC_LANGUAGE_LIST, languageList); }

std::vector<std::pair<int, unsigned>> CLanguagePage::ControlAnchors() const {
  return {{IDC_LANGUAGE_LIST, ANCHOR_WIDEN},
          {IDC_LANGUAGE_COPYRIGHT, ANCHOR_WIDEN},
          {IDC_LANGUAGE_INFO, ANCHOR_WIDEN | ANCHOR_TALLER},
          {IDC_PAGE_STATUS, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN}};
}

}  // namespace qv
