#pragma once
// A wizard frame run modally on a small text table, driven step by step.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/text_table.h"
#include "resources/ui_ids.h"
#include "ui_script.h"
#include "wizard/wizard_dlg.h"
#include "wizard_texts.h"

namespace qv::test {

class WizardFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    state.languageIndex = 1;
    state.installFolder = u"C:\\Program Files\\Quorvik\\Vantrel 4";
    state.menuFolder = u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvik\\Vantrel 4";
    state.createMenuShortcuts = true;
    state.createDesktopShortcut = true;
    state.applicationTitle = u"Installer -- Vantrel 4.05b";
  }

  // Runs the wizard modally with `steps` driving it; the dialog's result.
  INT_PTR Run(const std::vector<UiScript::Step>& steps) {
    for (const UiScript::Step& step : steps) script.Add(step);
    script.Start();
    const INT_PTR result = wizard.DoModal(nullptr);
    EXPECT_EQ(script.unexpectedDialogs, 0) << "a dialog opened that no step expected";
    return result;
  }

  HWND Frame() const { return wizard.GetSafeHwnd(); }
  HWND Item(int id) const { return ::GetDlgItem(Frame(), id); }
  std::u16string Text(int id) const { return WindowText(Item(id)); }
  bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
  HWND PageWindow(int index) const { return wizard.Page(index)->GetSafeHwnd(); }
  HWND PageItem(int index, int id) const { return ::GetDlgItem(PageWindow(index), id); }
  int DefaultButton() const { return LOWORD(::SendMessageW(Frame(), DM_GETDEFID, 0, 0)); }

  // The page the wizard shows, checked against what is visible: exactly that page.
  int Shown() const {
    const int current = wizard.CurrentPage();
    for (int i = 0; i < qv::WIZARD_PAGE_COUNT; ++i) {
      // The style, not IsWindowVisible: the frame itself may not be shown yet.
      const bool visible = (::GetWindowLongW(PageWindow(i), GWL_STYLE) & WS_VISIBLE) != 0;
      EXPECT_EQ(visible, i == current) << "page " << i;
    }
    return current;
  }

  void SetCustomMode(bool custom) {
    ::SendMessageW(PageItem(qv::PAGE_MODE, custom ? IDC_MODE_CUSTOM : IDC_MODE_QUICK), BM_CLICK, 0, 0);
  }

  // Cancel, confirming the question with Yes when one comes.
  UiScript::Step CancelAndConfirm() {
    return [this] {
      script.AnswerNextBox(IDYES);
      Click(Frame(), IDCANCEL);
    };
  }

  qv::MapTextTable texts = WizardTexts();
  qv::SetupState state;
  qv::WizardContext context{state, texts, {}};
  qv::CWizardDlg wizard{context};
  UiScript script{[this] { return Frame(); }};
};

}  // namespace qv::test
