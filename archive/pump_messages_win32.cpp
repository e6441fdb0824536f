#include <windows.h>

#include "archive/pump_messages.h"

namespace qv {

namespace {
PreTranslateMessageHook g_preTranslate = nullptr;
DWORD g_lastDrain = 0;
bool g_drained = false;
}  // namespace

void SetPreTranslateMessageHook(PreTranslateMessageHook hook) { g_preTranslate = hook; }

void PumpMessages() {
  const DWORD now = GetTickCount();
  if (g_drained && now - g_lastDrain < kPumpIntervalMs) return;
  g_drained = true;
  g_lastDrain = now;
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // A quit request belongs to the outer message loop: leave it for that loop.
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (g_preTranslate != nullptr && g_preTranslate(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace qv
