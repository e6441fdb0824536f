#include "archive/pump_messages.h"

namespace qv {

// No window system to serve on POSIX builds.
void SetPreTranslateMessageHook(PreTranslateMessageHook) {}
void PumpMessages() {}

}  // namespace qv
