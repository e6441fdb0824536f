#include "install/uninstall_log.h"

#include <cstdint>
#include <vector>

#include "install/log_format.h"
#include "install/log_merge.h"
#include "install/shell_item.h"
#include "system/file_io.h"

namespace qv {
namespace {

// Read-only, archive and not content indexed: the uninstaller's file is not to be touched.
constexpr std::uint32_t kWrittenLogAttributes = 0x2021;

bool IsExistingFolder(const std::u16string& path) {
  if (path.empty()) return false;
  const std::uint32_t attributes = GetFileAttributesOf(path);
  return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) != 0;
}

// The whole file; a read error ends it early, and the parser takes what arrived.
std::string ReadWholeFile(File& file) {
  std::string bytes;
  std::vector<char> buffer(65536);
  std::uint32_t done = 0;
  while (file.Read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), &done) && done != 0) {
    bytes.append(buffer.data(), done);
  }
  return bytes;
}

bool WriteAll(File& file, const std::string& bytes) {
  std::uint32_t done = 0;
  return file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &done) &&
         done == bytes.size();
}

}  // namespace

void UninstallLog::ReadLog(const std::u16string& path, const std::u16string& name) {
  productName = name;
  installPath.clear();
  shortcutPath.clear();
  previousProductName.clear();
  previousEntries.clear();
  if (path.empty()) return;
  File file;
  if (!file.Open(path, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting)) return;
  ParsedLog parsed = ParseLogText(ReadWholeFile(file));
  file.Close();
  previousProductName = std::move(parsed.previousProductName);
  previousEntries = std::move(parsed.entries);
  if (IsExistingFolder(parsed.installPathText)) installPath = std::move(parsed.installPathText);
  if (IsExistingFolder(parsed.shortcutPathText)) shortcutPath = std::move(parsed.shortcutPathText);
}

bool UninstallLog::WriteLog(const std::u16string& logPath, const std::u16string& installFolder,
                            const std::u16string& menuFolder) {
  entries = MergeLogEntries(previousEntries, std::move(entries), IsSameShellItem);
  previousEntries.clear();

  bool written = false;
  SetFileAttributesOf(logPath, kFileAttributeNormal);
  File file;
  if (file.Open(logPath, FileAccess::Write, FileShare::None, FileDisposition::CreateAlways)) {
    const LogHeaderTexts header{productName, previousProductName, installFolder, menuFolder};
    written = WriteAll(file, std::string(LOG_BYTE_ORDER_MARK, sizeof(LOG_BYTE_ORDER_MARK)));
    for (const std::u16string& line : FormatLogLines(header, entries)) {
      if (!WriteAll(file, EncodeUtf16Le(line))) written = false;
    }
    file.Close();
    SetFileAttributesOf(logPath, kWrittenLogAttributes);
  }

  for (LogEntry& entry : entries) {
    if (entry.backupPath.empty()) continue;
    SetFileAttributesOf(entry.backupPath, kFileAttributeNormal);
    DeleteFileAt(entry.backupPath);
    entry.backupPath.clear();
  }
  return written;
}

bool UninstallLog::WasInstalledBefore(const std::u16string& path) const {
  for (const LogEntry& entry : previousEntries) {
    if (entry.kind == LOG_FILE && entry.done && entry.path == path) return true;
  }
  return false;
}

}  // namespace qv
