#pragma once
// Dialogs from resource templates: modal ones, and child dialogs that live inside another
// window (wizard pages). The object is attached to its window at WM_INITDIALOG from the
// creation parameter; every later message goes to OnMessage, and messages that arrive
// before that (WM_SETFONT and the like) get the dialog manager's default answer.
#include <windows.h>

#include <string>

namespace qv {

class CDataExchange;

class CDialog {
 public:
  explicit CDialog(UINT templateId);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog modally; the value given to EndDialog, or -1 when the window could not
  // be created (GetLastError tells why).
  INT_PTR DoModal(HWND owner);
  // Creates the dialog as a child (modeless) of `parent`; false with GetLastError on failure.
  bool Create(HWND parent);
  // Destroys a child dialog's window; a modal dialog ends with EndDialog instead.
  void DestroyWindow();
  void EndDialog(INT_PTR result);

  HWND GetSafeHwnd() const { return hwnd; }
  UINT GetTemplateId() const { return templateId; }
  bool IsModal() const { return modal; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd, id); }

  // Load direction (false): fills the controls from the members. Save direction (true):
  // validates and copies the controls into the members; false when a validation failed,
  // after the user was told and the focus put on the failing control.
  bool UpdateData(bool saveAndValidate);

  void SetWindowText(const std::u16string& text);
  std::u16string GetWindowText() const;
  void SetDlgItemText(int id, const std::u16string& text);
  std::u16string GetDlgItemText(int id) const;
  void EnableDlgItem(int id, bool enable);

 protected:
  // The one place where a class tells its messages apart. Returns true when it handled the
  // message, with the message's answer in `result`; a class passes what it does not handle
  // on to its base class. This base routes commands and notifications to the handlers below.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The return value tells the dialog manager whether to put the focus on the first control.
  // This base loads the controls (UpdateData(false)).
  virtual BOOL OnInitDialog();
  // Enter and the OK button (IDOK). A modal dialog saves its data and, when valid, ends with
  // IDOK; a child dialog ignores it: its host decides.
  virtual void OnOK();
  // Esc, the close command and the Cancel button (IDCANCEL). A modal dialog ends with
  // IDCANCEL; a child dialog ignores it.
  virtual void OnCancel();
  // Other WM_COMMAND messages; true when handled.
  virtual bool OnCommand(WORD id, WORD code, HWND control);
  // WM_NOTIFY; true when handled, with the notification's answer in `result`.
  virtual bool OnNotify(const NMHDR& header, LRESULT& result);
  // Binds members to controls in both directions; the base has nothing to exchange.
  virtual void DoDataExchange(CDataExchange& dx);

  // The default window handling of the message being handled, for handlers that act
  // after it.
  LRESULT Default();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd = nullptr;
  UINT templateId;
  bool modal = false;
  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } current{};
};

}  // namespace qv
