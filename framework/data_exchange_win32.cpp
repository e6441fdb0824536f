#include "framework/data_exchange.h"

#include <string>
#include <vector>

#include "framework/application.h"
#include "system/utf16.h"

namespace qv {

namespace {

bool IsEditBox(HWND control) {
  wchar_t className[16] = {};
  ::GetClassNameW(control, className, 16);
  return ::lstrcmpiW(className, L"Edit") == 0;
}

bool IsRadioButton(HWND control) {
  if ((::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0) return true;
  const LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

HWND CDataExchange::PrepareControl(int id) {
  lastControl = ::GetDlgItem(dialog, id);
  return lastControl;
}

void CDataExchange::Fail(const std::u16string& message) {
  failed = true;
  AppMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
  if (lastControl == nullptr) return;
  ::SetFocus(lastControl);
  if (IsEditBox(lastControl)) ::SendMessageW(lastControl, EM_SETSEL, 0, -1);
}

void ExchangeText(CDataExchange& dx, int id, std::u16string& value) {
  if (dx.Failed()) return;
  const HWND control = dx.PrepareControl(id);
  if (!dx.SaveAndValidate()) {
    ::SetWindowTextW(control, AsWide(value));
    return;
  }
  const int length = ::GetWindowTextLengthW(control);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextW(control, buffer.data(), length + 1);
  value.assign(reinterpret_cast<const char16_t*>(buffer.data()), copied > 0 ? copied : 0);
}

void ValidateMaxChars(CDataExchange& dx, const std::u16string& value, int maxChars) {
  if (dx.Failed()) return;
  if (!dx.SaveAndValidate()) {
    // The edit box prepared by the exchange just before this validation.
    if (dx.LastControl() != nullptr && IsEditBox(dx.LastControl())) {
      ::SendMessageW(dx.LastControl(), EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
    }
    return;
  }
  if (value.size() > static_cast<size_t>(maxChars)) {
    std::u16string message = u"Enter no more than ";
    message += Utf8ToUtf16(std::to_string(maxChars));
    message += u" characters.";
    dx.Fail(message);
  }
}

void ExchangeCheck(CDataExchange& dx, int id, int& value) {
  if (dx.Failed()) return;
  const HWND control = dx.PrepareControl(id);
  if (dx.SaveAndValidate()) {
    value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void ExchangeRadio(CDataExchange& dx, int firstId, int& value) {
  if (dx.Failed()) return;
  const HWND first = dx.PrepareControl(firstId);
  if (first == nullptr) return;
  if (dx.SaveAndValidate()) value = -1;
  // The group runs from its first button to the next control with WS_GROUP.
  int index = 0;
  HWND control = first;
  do {
    if (IsRadioButton(control)) {
      if (dx.SaveAndValidate()) {
        if (::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
      } else {
        ::SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    control = ::GetWindow(control, GW_HWNDNEXT);
  } while (control != nullptr && (::GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP) == 0);
}

void ExchangeControl(CDataExchange& dx, int id, HWND& control) {
  if (dx.Failed()) return;
  control = dx.PrepareControl(id);
}

}  // namespace qv
