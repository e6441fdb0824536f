#include "system/modal_owner.h"

namespace qv {

namespace {

BOOL CALLBACK PickVisibleTopLevel(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

HWND FindModalOwner(HWND mainWindow) {
  HWND window = mainWindow;
  if (!window) window = GetActiveWindow();
  if (!window) EnumThreadWindows(GetCurrentThreadId(), PickVisibleTopLevel, reinterpret_cast<LPARAM>(&window));
  if (!window || !IsWindow(window)) return nullptr;
  return GetLastActivePopup(GetAncestor(window, GA_ROOTOWNER));
}

int ShowModalMessageBox(HWND mainWindow, const wchar_t* text, const wchar_t* caption, UINT style) {
  HWND owner = FindModalOwner(mainWindow);
  if (!owner) style |= MB_TASKMODAL;
  return MessageBoxW(owner, text, caption, style);
}

}  // namespace qv
