#include "archive/pump_messages.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace qv {
namespace {

int g_seen = 0;

bool CountAndKeep(void* message) {
  if (static_cast<MSG*>(message)->message == WM_APP) ++g_seen;
  return true;  // handled: nothing reaches TranslateMessage or DispatchMessageW
}

// Looking at the queue before every decode step would dominate the run: the
// queue is drained at most once per interval.
TEST(PumpMessages, DrainsAtMostOncePerInterval) {
  SetPreTranslateMessageHook(&CountAndKeep);
  Sleep(kPumpIntervalMs + 5);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  PumpMessages();
  EXPECT_EQ(g_seen, 1);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  PumpMessages();  // right after a drain: returns at once
  EXPECT_EQ(g_seen, 1);
  Sleep(kPumpIntervalMs + 5);
  PumpMessages();
  EXPECT_EQ(g_seen, 3);
  SetPreTranslateMessageHook(nullptr);
}

// The outer loop must still see a quit request that arrives during a run.
TEST(PumpMessages, LeavesAQuitRequestInTheQueue) {
  Sleep(kPumpIntervalMs + 5);
  PostQuitMessage(7);
  PumpMessages();
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace qv
