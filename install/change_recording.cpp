#include <cstdint>

#include "install/folder_chain.h"
#include "install/folder_ops.h"
#include "install/product_key.h"
#include "install/uninstall_log.h"
#include "system/file_io.h"

namespace qv {
namespace {

// GetTempFileName needs room for the prefix, four digits and ".tmp" within a path.
constexpr std::size_t kMaxTempFolderChars = 246;

LogEntry NewEntry(LogEntryKind kind, const std::u16string& path, std::int32_t role) {
  LogEntry entry;
  entry.kind = kind;
  entry.path = path;
  entry.role = role;
  return entry;
}

}  // namespace

std::u16string UninstallLog::MakeBackup(const std::u16string& source, bool copy) {
  std::u16string folder;
  if (!GetTempFolder(&folder) || folder.size() > kMaxTempFolderChars) return std::u16string();
  std::u16string name;
  if (!CreateTempFileIn(folder, u"qv", &name)) return std::u16string();
  DeleteFileAt(name);
  if (source.empty()) return name;

  // Read-only files can be neither moved nor copied over on every system.
  const std::uint32_t attributes = GetFileAttributesOf(source);
  const bool known = attributes != kInvalidFileAttributes;
  if (known) SetFileAttributesOf(source, kFileAttributeNormal);
  if (copy) {
    if (CopyFileTo(source, name, false)) {
      if (known) {
        SetFileAttributesOf(source, attributes);
        SetFileAttributesOf(name, attributes);
      }
      return name;
    }
  } else if (MoveFileTo(source, name)) {
    if (known) SetFileAttributesOf(name, attributes);
    return name;
  }
  if (known) SetFileAttributesOf(source, attributes);
  return std::u16string();
}

void UninstallLog::RecordFolderChain(const std::u16string& path) {
  for (const std::u16string& folder : FolderChainPrefixes(path)) {
    if (IsFolderAt(folder)) continue;
    // Deeper folders cannot exist either; the extraction makes its own attempt later.
    if (!CreateOneFolder(folder)) return;
    LogEntry entry = NewEntry(LOG_DIRECTORY, folder, LOG_ROLE_NONE);
    entry.done = true;
    entries.push_back(std::move(entry));
  }
}

void UninstallLog::RecordFile(const std::u16string& path, std::int32_t role, bool keepCopy) {
  RecordFolderChain(PathWithoutFileName(path));
  entries.push_back(NewEntry(LOG_FILE, path, role));
  if (FileExists(path)) entries.back().backupPath = MakeBackup(path, keepCopy);
}

void UninstallLog::RecordShortcut(LogEntryKind kind, const std::u16string& folder) {
  RecordFolderChain(folder);
  entries.push_back(NewEntry(kind, std::u16string(), LOG_ROLE_NONE));
  for (const LogEntry& earlier : previousEntries) {
    if (earlier.kind != kind) continue;
    if (!earlier.path.empty() && FileExists(earlier.path)) {
      entries.back().backupPath = MakeBackup(earlier.path, false);
    }
    break;
  }
}

void UninstallLog::RecordUninstallKey(void* existingKey) {
  entries.push_back(NewEntry(LOG_UNINSTALL_KEY, std::u16string(), LOG_ROLE_NONE));
  if (existingKey == nullptr) return;
  std::u16string backup = MakeBackup(std::u16string(), false);
  if (backup.empty()) return;
  if (SaveProductKey(existingKey, backup)) entries.back().backupPath = std::move(backup);
}

void UninstallLog::RecordRegistration() {
  entries.push_back(NewEntry(LOG_REGISTRATION, std::u16string(), LOG_ROLE_NONE));
}

}  // namespace qv
