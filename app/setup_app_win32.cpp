#include "app/setup_app.h"

#include "app/current_texts.h"
#include "app/default_folders.h"
#include "app/languages.h"
#include "app/previous_installation.h"
#include "app/product_texts.h"
#include "app/remembered_language.h"
#include "app/text_ids.h"
#include "app/user_language.h"
#include "archive/pump_messages.h"
#include "system/security.h"
#include "system/system_error_box.h"
#include "system/system_error_text.h"
#include "system/utf16.h"

namespace qv {

namespace {

// The installed program's version cannot be read: shown as a code the way installation
// failures are, the system error after the step that failed.
std::u16string FormatVersionReadError(DWORD error) {
  wchar_t text[32];
  wsprintfW(text, L"0:%08X", static_cast<unsigned>(error));
  return FromWide(text);
}

bool PreTranslateThroughApp(void* message) {
  CWinApp* app = CWinApp::Current();
  return app && app->PreTranslateMessage(static_cast<MSG*>(message));
}

}  // namespace

CSetupApp::CSetupApp() : CWinApp(nullptr), instanceGuard(kSetupGuardName) {
  // The extraction engine's message pump keeps the wizard's keyboard handling.
  SetPreTranslateMessageHook(PreTranslateThroughApp);
}

CSetupApp::~CSetupApp() = default;

bool CSetupApp::InitInstance() {
  if (!instanceGuard.TryAcquire()) {
    ShowSystemErrorBox(0, kErrorBusy, L"%s");
    return false;
  }
  CWinApp::InitInstance();

  languageIndex = ChooseStartupLanguage(LanguageFromUserDefault(), ReadRememberedLanguage());
  applicationTitle = GetSetupTitle(true);
  SetAppName(applicationTitle);

  if (!IsUserAdministrator()) {
    DoMessageBox(LoadText(TEXT_NEEDS_ADMINISTRATOR), MB_OK | MB_ICONWARNING);
    return false;
  }
  while (CountProductProcesses() > 1) {
    std::u16string text = FormatTextInserts(TEXT_CLOSE_PRODUCT, {GetProductName(false)});
    if (DoMessageBox(text, MB_RETRYCANCEL | MB_ICONWARNING) == IDCANCEL) return false;
  }

  if (!DetectPreviousInstallation(*this)) {
    DoMessageBox(FormatTextInserts(TEXT_INSTALLATION_FAILED, {FormatVersionReadError(GetLastError())}),
                 MB_OK | MB_ICONERROR);
    return false;
  }
  std::u16string earlierLog;
  if (previousInstallState == PREVIOUS_SAME || previousInstallState == PREVIOUS_OLDER) {
    earlierLog = LocateUninstallLog();
  }
  // Without an earlier log to reuse, the log only records this setup's product.
  uninstallLog.ReadLog(earlierLog, GetProductName(true));
  if (!earlierLog.empty()) {
    installFolder = uninstallLog.installPath;
    menuFolder = uninstallLog.shortcutPath;
  }

  if (installFolder.empty()) installFolder = DefaultInstallFolder();
  if (menuFolder.empty()) menuFolder = DefaultMenuFolder();
  createMenuShortcuts = true;
  createDesktopShortcut = true;
  customMode = false;

  RunSetupWizard(*this);
  return false;
}

}  // namespace qv
