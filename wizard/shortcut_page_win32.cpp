#include "wizard/shortcut_page.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "framework/data_exchange.h"
#include "resources/ui_ids.h"
#include "system/utf16.h"

namespace qv {

namespace {

constexpr int kMaxPathChars = 260;

std::u16string SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return std::u16string();
  return FromWide(path);
}

// The Start-menu folder as the box shows it: relative to the root, "" for the root itself.
// A folder the relative path cannot reach (another drive) is shown as it is, so that saving
// gives it back unchanged.
std::u16string RelativeToRoot(const std::u16string& root, const std::u16string& folder) {
  wchar_t relative[MAX_PATH + 1] = {};
  if (!::PathRelativePathToW(relative, AsWide(root), FILE_ATTRIBUTE_DIRECTORY, AsWide(folder),
                             FILE_ATTRIBUTE_DIRECTORY)) {
    return folder;
  }
  if (::lstrcmpW(relative, L".") == 0) return std::u16string();
  wchar_t canonical[MAX_PATH + 1] = {};
  if (!::PathCanonicalizeW(canonical, relative)) return FromWide(relative);
  return FromWide(canonical);
}

}  // namespace

CShortcutPage::CShortcutPage(WizardContext& context) : CWizardPage(IDD_PAGE_SHORTCUTS, context) {}

BOOL CShortcutPage::OnInitDialog() {
  // Loading the page needs the root.
  startMenuRoot = SpecialFolder(CSIDL_COMMON_STARTMENU);
  if (startMenuRoot.empty()) startMenuRoot = SpecialFolder(CSIDL_STARTMENU);
  CWizardPage::OnInitDialog();
  ApplyCheckBoxRule();
  return TRUE;
}

bool CShortcutPage::OnCommand(WORD id, WORD code, HWND control) {
  if (id == IDC_SHORTCUT_MENU_CHECK && code == BN_CLICKED) {
    ApplyCheckBoxRule();
    return true;
  }
  return CWizardPage::OnCommand(id, code, control);
}

void CShortcutPage::ApplyCheckBoxRule() {
  const bool checked = ::IsDlgButtonChecked(GetSafeHwnd(), IDC_SHORTCUT_MENU_CHECK) == BST_CHECKED;
  EnableDlgItem(IDC_SHORTCUT_MENU_EDIT, checked);
  EnableDlgItem(IDC_SHORTCUT_BROWSE, checked);
}

void CShortcutPage::UpdatePageTexts() {
  SetDlgItemText(IDC_SHORTCUT_GROUP, context.Text(1009));
  SetDlgItemText(IDC_SHORTCUT_MENU_CHECK, context.Text(1112));
  SetDlgItemText(IDC_SHORTCUT_BROWSE, context.Text(1008) + u"...");
  SetDlgItemText(IDC_SHORTCUT_DESKTOP_CHECK, context.Text(1113));
  SetDlgItemText(IDC_PAGE_STATUS, context.Format(1106, {context.Text(1006)}));
}

void CShortcutPage::DoDataExchange(CDataExchange& dx) {
  SetupState& state = context.state;
  if (!dx.SaveAndValidate()) {
    desktopCheck = state.createDesktopShortcut ? 1 : 0;
    menuCheck = state.createMenuShortcuts ? 1 : 0;
    relativeMenuFolder = RelativeToRoot(startMenuRoot, state.menuFolder);
  }
  ExchangeCheck(dx, IDC_SHORTCUT_DESKTOP_CHECK, desktopCheck);
  ExchangeCheck(dx, IDC_SHORTCUT_MENU_CHECK, menuCheck);
  ExchangeText(dx, IDC_SHORTCUT_MENU_EDIT, relativeMenuFolder);
  ValidateMaxChars(dx, relativeMenuFolder, kMaxPathChars);
  if (!dx.SaveAndValidate() || dx.Failed()) return;
  state.createDesktopShortcut = desktopCheck != 0;
  state.createMenuShortcuts = menuCheck != 0;
  wchar_t combined[MAX_PATH + 1] = {};
  if (::PathCombineW(combined, AsWide(startMenuRoot), AsWide(relativeMenuFolder)) != nullptr) {
    state.menuFolder = FromWide(combined);
  }
}

std::vector<std::pair<int, unsigned>> CShortcutPage::ControlAnchors() const {
  return {{IDC_SHORTCUT_GROUP, ANCHOR_WIDEN},
          {IDC_SHORTCUT_MENU_CHECK, ANCHOR_WIDEN},
          {IDC_SHORTCUT_MENU_EDIT, ANCHOR_WIDEN},
          {IDC_SHORTCUT_DESKTOP_CHECK, ANCHOR_WIDEN},
          {IDC_SHORTCUT_BROWSE, ANCHOR_MOVE_RIGHT},
          {IDC_PAGE_STATUS, ANCHOR_WIDEN | ANCHOR_MOVE_DOWN}};
}

}  // namespace qv
