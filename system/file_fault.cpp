#include "system/file_io.h"

namespace qv {

namespace {
// Counts down to the operation that must fail; only tests set it.
uint32_t g_faultCountdown = 0;
uint32_t g_faultError = 0;
}  // namespace

void InjectFileFault(uint32_t n, uint32_t error) {
  g_faultCountdown = n;
  g_faultError = error;
}

bool FileFaultPending() { return g_faultCountdown != 0; }

bool FileOperationAllowed() {
  if (g_faultCountdown == 0) return true;
  if (--g_faultCountdown != 0) return true;
  SetLastFileError(g_faultError);
  return false;
}

}  // namespace qv
