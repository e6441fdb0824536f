#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "framework/application.h"
#include "resources/ui_ids.h"
#include "system/utf16.h"
#include "ui_script.h"
#include "wizard/progress_page.h"
#include "wizard/wizard_dlg.h"
#include "wizard_fixture.h"
#include "wizard_texts.h"

namespace {

using qv::test::Click;
using qv::test::UiScript;
using qv::test::WindowText;
using qv::test::WizardFrame;

TEST_F(WizardFrame, QuickModeGoesFromModeToProgressAndBack) {
  const INT_PTR result = Run({
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_LANGUAGE);
        EXPECT_FALSE(Enabled(IDC_WIZARD_BACK));
        EXPECT_TRUE(Enabled(IDOK));
        EXPECT_EQ(Text(IDOK), u"Next  >");
        EXPECT_EQ(Text(IDC_WIZARD_BACK), u"<  Back");
        EXPECT_EQ(Text(IDCANCEL), u"Cancel");
        EXPECT_EQ(WindowText(Frame()), u"Installer -- Vantrel 4.05b");
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_MODE);
        EXPECT_TRUE(Enabled(IDC_WIZARD_BACK));
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_PROGRESS);
        EXPECT_EQ(Text(IDOK), u"Install");
        Click(Frame(), IDC_WIZARD_BACK);
      },
      [&] { EXPECT_EQ(Shown(), qv::PAGE_MODE); },
      CancelAndConfirm(),
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(state.customMode);
}

TEST_F(WizardFrame, QuickModeChosenAgainAfterCustomSkipsTheCustomPagesAgain) {
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] {
        SetCustomMode(true);
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_FOLDER);
        EXPECT_TRUE(state.customMode);
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_SHORTCUTS);
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_PROGRESS);
        Click(Frame(), IDC_WIZARD_BACK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_SHORTCUTS);
        Click(Frame(), IDC_WIZARD_BACK);
        Click(Frame(), IDC_WIZARD_BACK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_MODE);
        // The page shows what the state holds.
        EXPECT_EQ(::SendMessageW(PageItem(qv::PAGE_MODE, IDC_MODE_CUSTOM), BM_GETCHECK, 0, 0), BST_CHECKED);
        SetCustomMode(false);
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_PROGRESS);
        EXPECT_FALSE(state.customMode);
      },
      CancelAndConfirm(),
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardFrame, FailedInstallationStaysOnProgressPageReadyForAnotherAttempt) {
  int attempts = 0;
  context.runInstall = [&](qv::CProgressPage&) {
    ++attempts;
    // The wizard cannot be left or moved while the installation runs.
    EXPECT_FALSE(Enabled(IDC_WIZARD_BACK));
    EXPECT_FALSE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDCANCEL));
    return false;
  };
  std::u16string question;
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] {
        EXPECT_EQ(attempts, 1);
        EXPECT_EQ(Shown(), qv::PAGE_PROGRESS);
        EXPECT_FALSE(state.installDone);
        EXPECT_EQ(Text(IDOK), u"Install");
        EXPECT_TRUE(Enabled(IDC_WIZARD_BACK));
        EXPECT_TRUE(Enabled(IDOK));
        EXPECT_TRUE(Enabled(IDCANCEL));
        EXPECT_EQ(Text(IDCANCEL), u"Cancel");
        script.ArmModal([&](HWND box) {
          question = qv::test::MessageBoxText(box);
          EXPECT_EQ(WindowText(box), u"Installer -- Vantrel 4.05b");
          ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        });
        Click(Frame(), IDCANCEL);
      },
      [&] {
        EXPECT_EQ(question, u"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?");
        EXPECT_EQ(Shown(), qv::PAGE_PROGRESS);
        Click(Frame(), IDOK);
      },
      [&] { EXPECT_EQ(attempts, 2); },
      CancelAndConfirm(),
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardFrame, AfterSuccessTheLogStaysReadableAndExitEndsWithoutQuestion) {
  context.runInstall = [&](qv::CProgressPage& page) {
    page.AppendProgressLog(u"Copying File  Vantrel.exe...OK\r\n", false);
    return true;
  };
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] {
        EXPECT_TRUE(state.installDone);
        EXPECT_EQ(Shown(), qv::PAGE_PROGRESS);
        EXPECT_EQ(Text(IDOK), u"Next  >");
        EXPECT_FALSE(Enabled(IDC_WIZARD_BACK));
        EXPECT_TRUE(Enabled(IDCANCEL));
        EXPECT_EQ(Text(IDCANCEL), u"Exit");
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_FINISH);
        EXPECT_FALSE(Enabled(IDOK));
        EXPECT_TRUE(Enabled(IDC_WIZARD_BACK));
        EXPECT_EQ(DefaultButton(), IDCANCEL);
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_FINISH, IDC_FINISH_TEXT)), u"Installation is complete.");
        Click(Frame(), IDC_WIZARD_BACK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_PROGRESS);
        const std::u16string log = WindowText(PageItem(qv::PAGE_PROGRESS, IDC_PROGRESS_LOG));
        EXPECT_NE(log.find(u"Copying File  Vantrel.exe...OK"), std::u16string::npos) << qv::Utf16ToUtf8(log);
        EXPECT_FALSE(Enabled(IDC_WIZARD_BACK));
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_FINISH);
        // Enter, through the dialog manager, acts on the default button: Exit.
        ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
      },
  });
  EXPECT_EQ(result, IDOK);
}

TEST_F(WizardFrame, NextOnTheFinalPageCannotRunOffTheEnd) {
  context.runInstall = [](qv::CProgressPage&) { return true; };
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_FINISH);
        // A command that reaches the handler although the button is disabled.
        ::SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(Shown(), qv::PAGE_FINISH);
        Click(Frame(), IDCANCEL);
      },
  });
  EXPECT_EQ(result, IDOK);
}

TEST_F(WizardFrame, SameVersionInstalledLeavesTheLanguagePageWithoutQuestion) {
  state.previousInstallState = qv::PREVIOUS_SAME;
  const INT_PTR result = Run({[&] { Click(Frame(), IDCANCEL); }});
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardFrame, SameVersionInstalledAsksOnTheModePage) {
  state.previousInstallState = qv::PREVIOUS_SAME;
  std::u16string question;
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] {
        script.AnswerNextBox(IDNO, &question);
        Click(Frame(), IDCANCEL);
      },
      [&] {
        EXPECT_FALSE(question.empty());
        EXPECT_EQ(Shown(), qv::PAGE_MODE);
      },
      CancelAndConfirm(),
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardFrame, NewerVersionInstalledKeepsNextDisabledThroughLanguageChanges) {
  state.previousInstallState = qv::PREVIOUS_NEWER;
  state.installedVersionText = u"5.0";
  const INT_PTR result = Run({
      [&] {
        EXPECT_FALSE(Enabled(IDOK));
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_LANGUAGE, IDC_PAGE_STATUS)), u"Click on 'Cancel' to exit Installation.");
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_LANGUAGE, IDC_LANGUAGE_INFO)),
                  u"'Vantrel 4.05b' Installation.\r\nA more recent Version (5.0) is already installed.");
        state.languageIndex = 11;
        wizard.UpdateTexts();
        EXPECT_FALSE(Enabled(IDOK));
        EXPECT_EQ(Text(IDC_WIZARD_BACK), u"<  Indietro");
        // Enter goes to the handler even with Next disabled: it must not move on.
        ::SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_EQ(Shown(), qv::PAGE_LANGUAGE);
        Click(Frame(), IDCANCEL);
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardFrame, SystemMenuOffersAboutInTheCurrentLanguageAndNoMaximizeOrSize) {
  std::u16string aboutCaption;
  std::u16string aboutOk;
  const INT_PTR result = Run({
      [&] {
        const HMENU menu = ::GetSystemMenu(Frame(), FALSE);
        wchar_t item[128] = {};
        ::GetMenuStringW(menu, IDM_ABOUTBOX, item, 128, MF_BYCOMMAND);
        EXPECT_EQ(qv::FromWide(item), u"&About 'Installer'...");
        EXPECT_EQ(::GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
        EXPECT_EQ(::GetMenuState(menu, SC_SIZE, MF_BYCOMMAND), static_cast<UINT>(-1));
        state.languageIndex = 11;
        wizard.UpdateTexts();
        ::GetMenuStringW(menu, IDM_ABOUTBOX, item, 128, MF_BYCOMMAND);
        EXPECT_EQ(qv::FromWide(item), u"&Informazioni su 'Installazione'...");
        EXPECT_EQ(WindowText(Frame()), u"Installazione -- Vantrel 4.05b");
        script.ArmModal([&](HWND about) {
          aboutCaption = WindowText(about);
          aboutOk = WindowText(::GetDlgItem(about, IDOK));
          ::PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        ::SendMessageW(Frame(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
      },
      [&] {
        EXPECT_EQ(aboutCaption, u"Informazioni su 'Installazione'");
        EXPECT_EQ(aboutOk, u"OK");
        state.languageIndex = 1;
        CancelAndConfirm()();
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardFrame, EveryPageIsStretchedToOnePageAreaAndTheFrameGrowsByTheExcess) {
  const INT_PTR result = Run({
      [&] {
        const qv::LayoutRect panel = qv::ChildRect(Item(IDC_WIZARD_LEFT_PANEL));
        const qv::LayoutRect separator = qv::ChildRect(Item(IDC_WIZARD_SEPARATOR));
        RECT client{};
        ::GetClientRect(Frame(), &client);
        const qv::LayoutRect first = qv::ChildRect(PageWindow(0));
        EXPECT_EQ(first.left, panel.right);
        EXPECT_EQ(first.top, 0);
        EXPECT_EQ(first.right, client.right);
        EXPECT_EQ(first.bottom, separator.top);
        // Template positions and sizes are converted separately: a pixel of rounding.
        EXPECT_NEAR(separator.right, client.right, 2);
        for (int i = 0; i < qv::WIZARD_PAGE_COUNT; ++i) {
          EXPECT_EQ(qv::ChildRect(PageWindow(i)), first) << "page " << i;
          // The status line keeps its template margins to the page's right and bottom edges.
          RECT margin{7, 0, 0, 0};
          ::MapDialogRect(PageWindow(i), &margin);
          const qv::LayoutRect status = qv::ChildRect(PageItem(i, IDC_PAGE_STATUS));
          EXPECT_NEAR(first.Width() - status.right, margin.left, 1) << "page " << i;
        }
        // The widest page template (the mode page, 279 units) is wider than the frame's page
        // area (209 units): the frame grew, and its buttons moved along.
        RECT area{0, 0, 209, 112};
        ::MapDialogRect(Frame(), &area);
        EXPECT_GT(first.Width(), area.right);
        RECT margins{0, 0, 7, 7};
        ::MapDialogRect(Frame(), &margins);
        for (int id : {IDOK, IDCANCEL, IDC_WIZARD_BACK}) {
          EXPECT_NEAR(client.bottom - qv::ChildRect(Item(id)).bottom, margins.bottom, 1) << "button " << id;
        }
        EXPECT_NEAR(client.right - qv::ChildRect(Item(IDCANCEL)).right, margins.right, 1);
        EXPECT_NEAR(qv::ChildRect(Item(IDC_WIZARD_LEFT_PANEL)).bottom, separator.top, 1);
        CancelAndConfirm()();
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
