#pragma once
// Keeps the window alive during a long synchronous run by handling the
// messages waiting in the calling thread's queue.
#include <cstdint>

namespace qv {

// Queue drains are at least this far apart: one look at the queue costs far
// more than a decode step.
constexpr uint32_t kPumpIntervalMs = 16;

// Offered every message first (a pointer to the platform's message record);
// true when it handled the message itself.
using PreTranslateMessageHook = bool (*)(void* message);
void SetPreTranslateMessageHook(PreTranslateMessageHook hook);

// Handles every waiting message, unless the last drain was less than
// kPumpIntervalMs ago; then returns at once.
void PumpMessages();

}  // namespace qv
