#pragma once
// Building log entries in tests and showing a sequence of them as comparable text.
#include <string>
#include <vector>

#include "install/log_entry.h"
#include "system/utf16.h"

namespace qv::test {

inline LogEntry Entry(LogEntryKind kind, std::u16string path, bool done = true, int role = LOG_ROLE_NONE) {
  LogEntry entry;
  entry.kind = kind;
  entry.path = std::move(path);
  entry.done = done;
  entry.role = role;
  return entry;
}

// One line per entry: kind, role, done flag, path and backup path.
inline std::string Describe(const std::vector<LogEntry>& entries) {
  std::string text;
  for (const LogEntry& e : entries) {
    text += std::to_string(e.kind) + ":" + std::to_string(e.role) + ":" + (e.done ? "1" : "0") + ":" +
            Utf16ToUtf8(e.path) + ":" + Utf16ToUtf8(e.backupPath) + "\n";
  }
  return text;
}

}  // namespace qv::test
