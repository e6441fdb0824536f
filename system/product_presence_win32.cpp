#include "system/named_objects.h"

namespace qv {

namespace {

// Built during static construction, so that the process counts as running of the
// product family from its first moment to its end.
struct ProductPresence {
  CountedSemaphore semaphore{kPresenceSemaphoreName, 0, 0x7FFFFFFF};
  bool registered = semaphore.AddUnit();
};

ProductPresence presence;

}  // namespace

CountedSemaphore& ProductPresenceSemaphore() { return presence.semaphore; }

bool IsPresenceRegistered() { return presence.registered; }

LONG CountProductProcesses() { return presence.registered ? presence.semaphore.ProbeCount() : 0; }

}  // namespace qv
