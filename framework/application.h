#pragma once
// The application object of a dialog-based program: one static object of a class derived
// from CWinApp; WinMain runs its InitInstance, which does the whole work.
#include <windows.h>

#include <string>

namespace qv {

class CWinApp {
 public:
  // With no name, the name is the executable's file name without its extension until
  // SetAppName gives one.
  explicit CWinApp(const wchar_t* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // The program: runs its dialogs and returns false, which ends the process. This base
  // registers the common control classes the dialogs use.
  virtual bool InitInstance();
  // The process exit code.
  virtual int ExitInstance();
  // Offered every message of a message pump first; true when handled. This base gives
  // the dialog under a keyboard message its navigation (Tab, Enter, Esc, mnemonics).
  virtual bool PreTranslateMessage(MSG* message);

  // The caption of the standard message box.
  const std::u16string& GetAppName() const { return appName; }
  void SetAppName(const std::u16string& name) { appName = name; }
  HWND GetMainWindow() const { return mainWindow; }
  void SetMainWindow(HWND window) { mainWindow = window; }
  HINSTANCE GetInstanceHandle() const { return instance; }

  // The application's standard message box: the application name as caption, an icon
  // chosen by the buttons when none is given, owned by the main window's last active
  // pop-up (task-modal before there is one). Returns the button pressed.
  int DoMessageBox(const std::u16string& text, UINT style);

  // The one application object; null before its construction.
  static CWinApp* Current() { return current; }

 private:
  friend int RunApplication(HINSTANCE instance);

  static CWinApp* current;
  std::u16string appName;
  HWND mainWindow = nullptr;
  HINSTANCE instance = nullptr;
};

// The standard message box of the one application object.
int AppMessageBox(const std::u16string& text, UINT style);

// What WinMain does: InitInstance, then ExitInstance for the exit code.
int RunApplication(HINSTANCE instance);

}  // namespace qv
