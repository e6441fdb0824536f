#pragma once
// Data exchange between a dialog's controls and its members, in both directions. In the
// save direction the first failed validation tells the user, puts the focus on the failing
// control and stops the remaining exchanges.
#include <windows.h>

#include <string>

namespace qv {

class CDataExchange {
 public:
  CDataExchange(HWND dialog, bool saveAndValidate) : dialog(dialog), saveAndValidate(saveAndValidate) {}

  HWND Dialog() const { return dialog; }
  bool SaveAndValidate() const { return saveAndValidate; }
  bool Failed() const { return failed; }

  // The control that the next validation is about; null when it does not exist.
  HWND PrepareControl(int id);
  HWND LastControl() const { return lastControl; }
  // Shows `message` in the application's standard message box (exclamation icon) and puts
  // the focus on the prepared control, with an edit box's text selected.
  void Fail(const std::u16string& message);

 private:
  HWND dialog;
  bool saveAndValidate;
  bool failed = false;
  HWND lastControl = nullptr;
};

// Text of an edit box or static control.
void ExchangeText(CDataExchange& dx, int id, std::u16string& value);
// At most `maxChars` characters: the load direction limits the prepared edit box, the save
// direction refuses a longer text with "Enter no more than %1 characters.".
void ValidateMaxChars(CDataExchange& dx, const std::u16string& value, int maxChars);
// State of a check box: 0 unchecked, 1 checked, 2 indeterminate.
void ExchangeCheck(CDataExchange& dx, int id, int& value);
// The checked radio button of the group that starts at `firstId`, counted from 0; -1 when
// none is checked.
void ExchangeRadio(CDataExchange& dx, int firstId, int& value);
// The window of a control, for a member that works on the control itself.
void ExchangeControl(CDataExchange& dx, int id, HWND& control);

}  // namespace qv
