// Reports what the common-controls services see in a program that asks for version 6
// of the common controls in its manifest, as the setup does: the exit code is the
// version, with the top bit set when visual styles count as on.
#include <windows.h>

#include <commctrl.h>

#include "system/common_controls.h"

int main() {
  // Loads the common controls the manifest asks for, as the setup's dialogs do, and
  // the theme library whatever that version loads.
  INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  LoadLibraryW(L"uxtheme.dll");
  DWORD result = qv::GetCommonControlsVersion();
  if (qv::HasVisualStyles()) result |= 0x80000000u;
  return static_cast<int>(result);
}
