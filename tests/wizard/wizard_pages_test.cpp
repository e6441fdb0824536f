#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "framework/application.h"
#include "system/utf16.h"
#include "wizard_fixture.h"

namespace {

using qv::test::Click;
using qv::test::MessageBoxText;
using qv::test::UiScript;
using qv::test::WindowText;
using qv::test::WizardFrame;

std::u16string StartMenu() {
  wchar_t path[MAX_PATH + 1] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_STARTMENU, FALSE)) {
    ::SHGetSpecialFolderPathW(nullptr, path, CSIDL_STARTMENU, FALSE);
  }
  return qv::FromWide(path);
}

using WizardPages = WizardFrame;

TEST_F(WizardPages, LanguageListOffersTheSevenSelectableLanguagesInOrderWithFlags) {
  state.languageIndex = 11;
  const INT_PTR result = Run({
      [&] {
        const HWND list = PageItem(qv::PAGE_LANGUAGE, IDC_LANGUAGE_LIST);
        ASSERT_EQ(::SendMessageW(list, CB_GETCOUNT, 0, 0), 7);
        const LPARAM expected[] = {0, 1, 2, 3, 11, 5, 9};
        for (int i = 0; i < 7; ++i) {
          wchar_t name[64] = {};
          COMBOBOXEXITEMW item{};
          item.mask = CBEIF_LPARAM | CBEIF_IMAGE | CBEIF_TEXT;
          item.iItem = i;
          item.pszText = name;
          item.cchTextMax = 64;
          ASSERT_TRUE(::SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
          EXPECT_EQ(item.lParam, expected[i]) << "position " << i;
          EXPECT_EQ(item.iImage, i) << "each language has its own flag";
          EXPECT_NE(name[0], L'\0') << "position " << i;
        }
        const auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(list, CBEM_GETIMAGELIST, 0, 0));
        int width = 0;
        int height = 0;
        ImageList_GetIconSize(images, &width, &height);
        EXPECT_EQ(width, 18);
        EXPECT_EQ(height, 12);
        EXPECT_EQ(ImageList_GetImageCount(images), 7);
        EXPECT_EQ(::SendMessageW(list, CB_GETCURSEL, 0, 0), 4) << "Italian, the current language";
        CancelAndConfirm()();
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardPages, PickingDutchRunsTheWizardInEnglishAndSaysSoEachTime) {
  state.languageIndex = 11;
  std::u16string message;
  auto pick = [&](int position) {
    const HWND list = PageItem(qv::PAGE_LANGUAGE, IDC_LANGUAGE_LIST);
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    ::SendMessageW(PageWindow(qv::PAGE_LANGUAGE), WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_LIST, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
  };
  const INT_PTR result = Run({
      [&] {
        EXPECT_EQ(Text(IDC_WIZARD_BACK), u"<  Indietro");
        script.ArmModal([&](HWND box) {
          message = MessageBoxText(box);
          // The box already carries the new title.
          EXPECT_EQ(WindowText(box), u"Installer -- Vantrel 4.05b");
          ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        pick(5);
      },
      [&] {
        EXPECT_EQ(state.languageIndex, 5);
        EXPECT_EQ(message,
                  u"'Vantrel' will be installed in the selected Langage, but the Installer, still under "
                  u"translation,  shall run in English.");
        EXPECT_EQ(state.applicationTitle, u"Installer -- Vantrel 4.05b");
        EXPECT_EQ(qv::CWinApp::Current()->GetAppName(), u"Installer -- Vantrel 4.05b");
        EXPECT_EQ(Text(IDC_WIZARD_BACK), u"<  Back");
        EXPECT_EQ(Text(IDOK), u"Next  >");
        message.clear();
        script.AnswerNextBox(IDOK, &message);
        pick(5);
      },
      [&] {
        EXPECT_FALSE(message.empty()) << "a second pick of Dutch tells again";
        pick(4);
      },
      [&] {
        EXPECT_EQ(state.languageIndex, 11);
        EXPECT_EQ(Text(IDC_WIZARD_BACK), u"<  Indietro");
        EXPECT_EQ(WindowText(Frame()), u"Installazione -- Vantrel 4.05b");
        state.languageIndex = 1;
        qv::CWinApp::Current()->SetAppName(u"Installer -- Vantrel 4.05b");
        CancelAndConfirm()();
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardPages, UpdateShowsBothVersionsOnTheLanguagePage) {
  state.previousInstallState = qv::PREVIOUS_OLDER;
  state.installedVersionText = u"4.01";
  const INT_PTR result = Run({
      [&] {
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_LANGUAGE, IDC_LANGUAGE_INFO)),
                  u"Update from '4.01' to 'Vantrel 4.05b'.");
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_LANGUAGE, IDC_PAGE_STATUS)), u"Click on 'Next' to continue.");
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_LANGUAGE, IDC_LANGUAGE_COPYRIGHT)),
                  u"The 'Vantrel 4.05b' software is protected by Copyright.");
        CancelAndConfirm()();
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardPages, OverLongFolderKeepsThePageWithTheStandardMessageAndFocus) {
  state.customMode = true;
  const std::u16string tooLong = u"C:\\" + std::u16string(258, u'a');  // 261 characters
  const std::u16string longest = u"C:\\" + std::u16string(257, u'b');  // 260 characters
  std::u16string message;
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] {
        ASSERT_EQ(Shown(), qv::PAGE_FOLDER);
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_FOLDER, IDC_FOLDER_EDIT)), state.installFolder);
        // Typing stops at 260 characters; a text set from outside can be longer.
        EXPECT_EQ(::SendMessageW(PageItem(qv::PAGE_FOLDER, IDC_FOLDER_EDIT), EM_GETLIMITTEXT, 0, 0), 260);
        ::SetWindowTextW(PageItem(qv::PAGE_FOLDER, IDC_FOLDER_EDIT), qv::AsWide(tooLong));
        script.AnswerNextBox(IDOK, &message);
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(message, u"Enter no more than 260 characters.");
        EXPECT_EQ(Shown(), qv::PAGE_FOLDER);
        EXPECT_EQ(::GetFocus(), PageItem(qv::PAGE_FOLDER, IDC_FOLDER_EDIT));
        EXPECT_EQ(state.installFolder, u"C:\\Program Files\\Quorvik\\Vantrel 4");
        // Back is refused the same way.
        script.AnswerNextBox(IDOK);
        Click(Frame(), IDC_WIZARD_BACK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_FOLDER);
        ::SetWindowTextW(PageItem(qv::PAGE_FOLDER, IDC_FOLDER_EDIT), qv::AsWide(longest));
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(Shown(), qv::PAGE_SHORTCUTS);
        EXPECT_EQ(state.installFolder, longest);
      },
      CancelAndConfirm(),
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardPages, FolderCannotBeChangedOverAnEarlierInstallation) {
  state.customMode = true;
  state.previousInstallState = qv::PREVIOUS_SAME;
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] {
        ASSERT_EQ(Shown(), qv::PAGE_FOLDER);
        EXPECT_NE(::GetWindowLongW(PageItem(qv::PAGE_FOLDER, IDC_FOLDER_EDIT), GWL_STYLE) & ES_READONLY, 0);
        EXPECT_FALSE(::IsWindowEnabled(PageItem(qv::PAGE_FOLDER, IDC_FOLDER_BROWSE)));
        EXPECT_FALSE(::IsWindowEnabled(PageItem(qv::PAGE_FOLDER, IDC_FOLDER_LABEL)));
      },
      CancelAndConfirm(),
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardPages, StartMenuFolderIsShownRelativeToTheStartMenuAndSavedBack) {
  state.customMode = true;
  const std::u16string root = StartMenu();
  ASSERT_FALSE(root.empty());
  state.menuFolder = root;
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] {
        ASSERT_EQ(Shown(), qv::PAGE_SHORTCUTS);
        // The Start menu itself shows as an empty box.
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_MENU_EDIT)), u"");
        ::SetWindowTextW(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_MENU_EDIT), L"Programs\\Quorvik\\Vantrel 4");
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(state.menuFolder, root + u"\\Programs\\Quorvik\\Vantrel 4");
        Click(Frame(), IDC_WIZARD_BACK);
      },
      [&] {
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_MENU_EDIT)), u"Programs\\Quorvik\\Vantrel 4");
        ::SetWindowTextW(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_MENU_EDIT), L"");
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_EQ(state.menuFolder, root);
        Click(Frame(), IDC_WIZARD_BACK);
      },
      [&] {
        // Unchecking the menu shortcuts disables their folder box and Browse.
        ::SendMessageW(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_MENU_CHECK), BM_CLICK, 0, 0);
        EXPECT_FALSE(::IsWindowEnabled(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_MENU_EDIT)));
        EXPECT_FALSE(::IsWindowEnabled(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_BROWSE)));
        ::SendMessageW(PageItem(qv::PAGE_SHORTCUTS, IDC_SHORTCUT_DESKTOP_CHECK), BM_CLICK, 0, 0);
        Click(Frame(), IDOK);
      },
      [&] {
        EXPECT_FALSE(state.createMenuShortcuts);
        EXPECT_FALSE(state.createDesktopShortcut);
        // The summary then has neither shortcut line.
        const std::u16string log = WindowText(PageItem(qv::PAGE_PROGRESS, IDC_PROGRESS_LOG));
        EXPECT_EQ(log.find(u"Start Menu"), std::u16string::npos) << qv::Utf16ToUtf8(log);
        EXPECT_EQ(log.find(u"Desktop"), std::u16string::npos) << qv::Utf16ToUtf8(log);
      },
      CancelAndConfirm(),
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(WizardPages, ProgressSummaryListsTheChoicesUnderACentredBanner) {
  const INT_PTR result = Run({
      [&] { Click(Frame(), IDOK); },
      [&] { Click(Frame(), IDOK); },
      [&] {
        ASSERT_EQ(Shown(), qv::PAGE_PROGRESS);
        const std::u16string log = WindowText(PageItem(qv::PAGE_PROGRESS, IDC_PROGRESS_LOG));
        std::vector<std::u16string> lines;
        for (size_t start = 0, end; start < log.size(); start = end + 2) {
          end = log.find(u"\r\n", start);
          ASSERT_NE(end, std::u16string::npos) << "every line ends with CR LF";
          lines.push_back(log.substr(start, end - start));
        }
        ASSERT_EQ(lines.size(), 5u) << qv::Utf16ToUtf8(log);
        EXPECT_EQ(lines[0], u"'Vantrel 4.05b' Installation.");
        const size_t title = lines[1].find(u" Installation Options ");
        ASSERT_NE(title, std::u16string::npos);
        const size_t after = lines[1].size() - title - std::u16string(u" Installation Options ").size();
        EXPECT_GT(title, 0u);
        EXPECT_EQ(lines[1].find_first_not_of(u'-'), title);
        EXPECT_TRUE(after == title || after == title + 1) << "centred: " << title << " and " << after;
        EXPECT_EQ(lines[2], u"Installation Folder : \"C:\\Program Files\\Quorvik\\Vantrel 4\".");
        EXPECT_EQ(lines[3],
                  u"Creating a Shortcut in the Start Menu (Folder "
                  u"\"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvik\\Vantrel 4\").");
        EXPECT_EQ(lines[4], u"Creating a Shortcut on the Desktop.");
        EXPECT_EQ(::SendMessageW(PageItem(qv::PAGE_PROGRESS, IDC_PROGRESS_LOG), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        EXPECT_FALSE(::IsWindowVisible(PageItem(qv::PAGE_PROGRESS, IDC_PROGRESS_BAR)));
        EXPECT_EQ(WindowText(PageItem(qv::PAGE_PROGRESS, IDC_PAGE_STATUS)), u"Click on 'Install' to start Installation.");
        CancelAndConfirm()();
      },
  });
  EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
