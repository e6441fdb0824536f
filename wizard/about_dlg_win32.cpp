#include "wizard/about_dlg.h"

#include "system/file_version.h"
#include "system/text_inserts.h"
#include "resources/ui_ids.h"

namespace qv {

CAboutDlg::CAboutDlg(const WizardContext& context) : CDialog(IDD_ABOUTBOX), context(context) {}

CAboutDlg::~CAboutDlg() = default;

BOOL CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CFileVersionInfo version;
  version.flags = VI_DISPLAY_TEXT | VI_LEGAL_COPYRIGHT;
  version.Read(nullptr);  // the items found are shown; the template keeps the others

  std::u16string format = context.Text(1003);
  if (format.empty()) format = GetWindowText();
  std::u16string caption;
  if (FormatTextInserts(format, {context.SetupTitle(false)}, caption) == 0) SetWindowText(caption);

  if (!version.displayText.empty()) SetDlgItemText(IDC_ABOUT_PRODUCT, version.displayText);
  if (!version.legalCopyright.empty()) SetDlgItemText(IDC_ABOUT_COPYRIGHT, version.legalCopyright);
  SetDlgItemText(IDOK, context.Text(1001));
  return TRUE;
}

}  // namespace qv
