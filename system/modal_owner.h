#pragma once
// The owner of a message box that is modal to the application.
#ifdef _WIN32
#include <windows.h>

namespace qv {

// The last active pop-up of the given top-level window, or, with none given, of the
// calling thread's active or first visible top-level window; null when the thread
// has no window (a box shown then is modal to the whole task instead).
HWND FindModalOwner(HWND mainWindow);

// MessageBoxW owned by FindModalOwner(mainWindow), task-modal when there is no owner.
int ShowModalMessageBox(HWND mainWindow, const wchar_t* text, const wchar_t* caption, UINT style);

}  // namespace qv
#endif
