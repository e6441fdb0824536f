#pragma once
// The icon rule of the application's standard message box.

namespace qv {

// Button and icon bits of a message box style (the values of the Windows MB_ flags).
constexpr unsigned kBoxOk = 0x0;
constexpr unsigned kBoxOkCancel = 0x1;
constexpr unsigned kBoxYesNoCancel = 0x3;
constexpr unsigned kBoxYesNo = 0x4;
constexpr unsigned kBoxRetryCancel = 0x5;
constexpr unsigned kBoxButtonMask = 0xF;
constexpr unsigned kBoxIconQuestion = 0x20;
constexpr unsigned kBoxIconExclamation = 0x30;
constexpr unsigned kBoxIconInformation = 0x40;
constexpr unsigned kBoxIconMask = 0xF0;

// A style without an icon gets one: the exclamation mark for OK and OK/Cancel boxes,
// the question mark for Yes/No and Yes/No/Cancel boxes; other styles are kept as given.
unsigned StandardMessageBoxStyle(unsigned style);

}  // namespace qv
