#include "framework/dialog.h"

#include <vector>

#include "framework/data_exchange.h"
#include "system/utf16.h"

namespace qv {

namespace {

HINSTANCE ResourceModule() { return ::GetModuleHandleW(nullptr); }

// Dialog procedures answer these messages through their return value, not DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

std::u16string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), copied > 0 ? copied : 0);
}

}  // namespace

CDialog::CDialog(UINT templateId) : templateId(templateId) {}

CDialog::~CDialog() {
  // A child dialog still alive when its object goes must not call back into it.
  if (hwnd != nullptr) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    if (!modal) ::DestroyWindow(hwnd);
  }
}

INT_PTR CDialog::DoModal(HWND owner) {
  modal = true;
  const INT_PTR result = ::DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), owner,
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  modal = false;
  return result;
}

bool CDialog::Create(HWND parent) {
  modal = false;
  return ::CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId), parent,
                              &CDialog::DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow() {
  if (hwnd != nullptr && !modal) ::DestroyWindow(hwnd);
}

void CDialog::EndDialog(INT_PTR result) {
  if (hwnd != nullptr) ::EndDialog(hwnd, result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange dx(hwnd, saveAndValidate);
  DoDataExchange(dx);
  return !dx.Failed();
}

void CDialog::SetWindowText(const std::u16string& text) { ::SetWindowTextW(hwnd, AsWide(text)); }

std::u16string CDialog::GetWindowText() const { return WindowText(hwnd); }

void CDialog::SetDlgItemText(int id, const std::u16string& text) {
  ::SetDlgItemTextW(hwnd, id, AsWide(text));
}

std::u16string CDialog::GetDlgItemText(int id) const { return WindowText(GetDlgItem(id)); }

void CDialog::EnableDlgItem(int id, bool enable) { ::EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE); }

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      const WORD code = HIWORD(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      // Enter, Esc and the close command arrive as commands without a control.
      if (code == BN_CLICKED || control == nullptr) {
        if (id == IDOK) {
          OnOK();
          result = 0;
          return true;
        }
        if (id == IDCANCEL) {
          OnCancel();
          result = 0;
          return true;
        }
      }
      result = 0;
      return OnCommand(id, code, control);
    }
    case WM_NOTIFY:
      result = 0;
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    default:
      return false;
  }
}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::OnOK() {
  if (!modal) return;
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
  if (modal) EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(WORD, WORD, HWND) { return false; }

bool CDialog::OnNotify(const NMHDR&, LRESULT&) { return false; }

void CDialog::DoDataExchange(CDataExchange&) {}

LRESULT CDialog::Default() {
  return ::DefWindowProcW(hwnd, current.message, current.wParam, current.lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    self->hwnd = window;
    ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  }
  if (self == nullptr) return FALSE;
  const INT_PTR answer = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, DWLP_USER, 0);
    self->hwnd = nullptr;
  }
  return answer;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  const Message outer = current;
  current = Message{message, wParam, lParam};
  LRESULT result = 0;
  bool handled;
  if (message == WM_INITDIALOG) {
    result = OnInitDialog();
    handled = true;
  } else {
    handled = OnMessage(message, wParam, lParam, result);
  }
  current = outer;
  if (!handled) return FALSE;
  if (AnswersDirectly(message)) return static_cast<INT_PTR>(result);
  // The window may be gone when a handler ended with DestroyWindow.
  if (::IsWindow(hwnd)) ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace qv
