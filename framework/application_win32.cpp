#include "framework/application.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "system/message_box_style.h"
#include "system/modal_owner.h"
#include "system/utf16.h"

namespace qv {

CWinApp* CWinApp::current = nullptr;

CWinApp::CWinApp(const wchar_t* name) {
  if (name) appName = FromWide(name);
  current = this;
}

CWinApp::~CWinApp() {
  if (current == this) current = nullptr;
}

bool CWinApp::InitInstance() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
  InitCommonControlsEx(&controls);
  return true;
}

int CWinApp::ExitInstance() { return 0; }

bool CWinApp::PreTranslateMessage(MSG* message) {
  if (message->message < WM_KEYFIRST || message->message > WM_KEYLAST || !message->hwnd) return false;
  HWND root = GetAncestor(message->hwnd, GA_ROOT);
  constexpr ULONG_PTR kDialogClassAtom = 32770;
  if (!root || GetClassLongPtrW(root, GCW_ATOM) != kDialogClassAtom) return false;
  return IsDialogMessageW(root, message) != FALSE;
}

int CWinApp::DoMessageBox(const std::u16string& text, UINT style) {
  return ShowModalMessageBox(mainWindow, AsWide(text), AsWide(appName), StandardMessageBoxStyle(style));
}

int AppMessageBox(const std::u16string& text, UINT style) {
  CWinApp* app = CWinApp::Current();
  if (!app) return MessageBoxW(nullptr, AsWide(text), nullptr, StandardMessageBoxStyle(style) | MB_TASKMODAL);
  return app->DoMessageBox(text, style);
}

int RunApplication(HINSTANCE instance) {
  CWinApp* app = CWinApp::Current();
  if (!app) return -1;
  app->instance = instance;
  if (app->appName.empty()) {
    wchar_t path[MAX_PATH + 1] = {};
    GetModuleFileNameW(instance, path, MAX_PATH);
    PathRemoveExtensionW(path);
    app->appName = FromWide(PathFindFileNameW(path));
  }
  // Dialog-based programs only: their modal dialogs are the message loops, so the work is
  // done when InitInstance returns, whatever it answers.
  static_cast<void>(app->InitInstance());
  return app->ExitInstance();
}

}  // namespace qv

// Beside the application object's constructor, so that linking the one application
// object brings the entry point in from the library.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qv::RunApplication(instance); }
