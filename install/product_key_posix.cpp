#include "install/product_key.h"
#include "system/file_io.h"

namespace qv {

// Without a registry there is no key to save; the recording goes on without a backup.
bool SaveProductKey(void*, const std::u16string&) { return false; }

void RestoreProductKey(const std::u16string& backup) {
  if (backup.empty()) return;
  SetFileAttributesOf(backup, kFileAttributeNormal);
  DeleteFileAt(backup);
}

}  // namespace qv
