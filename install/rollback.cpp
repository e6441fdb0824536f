#include <cstdint>

#include "install/folder_ops.h"
#include "install/product_key.h"
#include "install/uninstall_log.h"
#include "system/file_io.h"

namespace qv {
namespace {

// Removes what this run put at path and moves the earlier state back, attributes and all.
void RestoreFile(const LogEntry& entry) {
  SetFileAttributesOf(entry.path, kFileAttributeNormal);
  DeleteFileAt(entry.path);
  if (entry.backupPath.empty()) return;
  const std::uint32_t attributes = GetFileAttributesOf(entry.backupPath);
  SetFileAttributesOf(entry.backupPath, kFileAttributeNormal);
  MoveFileTo(entry.backupPath, entry.path);
  if (attributes != kInvalidFileAttributes) SetFileAttributesOf(entry.path, attributes);
}

}  // namespace

void UninstallLog::Rollback() {
  // Newest first: files before their folders, deeper folders before their parents.
  while (!entries.empty()) {
    const LogEntry& entry = entries.back();
    switch (entry.kind) {
      case LOG_DIRECTORY:
        RemoveEmptyFolder(entry.path);
        break;
      case LOG_FILE:
      case LOG_MENU_SHORTCUT:
      case LOG_UNINSTALL_SHORTCUT:
      case LOG_DESKTOP_SHORTCUT:
        RestoreFile(entry);
        break;
      case LOG_UNINSTALL_KEY:
        RestoreProductKey(entry.backupPath);
        break;
      case LOG_REGISTRATION:
        break;
    }
    entries.pop_back();
  }
}

}  // namespace qv
