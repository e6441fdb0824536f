#pragma once
// One recorded change of an installation, as kept in memory and in "Uninstall.ulog".
#include <cstdint>
#include <string>

namespace qv {

enum LogEntryKind : std::int32_t {
  LOG_DIRECTORY = 0,
  LOG_FILE = 1,
  LOG_MENU_SHORTCUT = 2,
  LOG_UNINSTALL_SHORTCUT = 3,
  LOG_DESKTOP_SHORTCUT = 4,
  LOG_UNINSTALL_KEY = 5,
  LOG_REGISTRATION = 6,
};

constexpr std::int32_t LOG_KIND_LAST = LOG_REGISTRATION;
// The role of every entry that is not a file.
constexpr std::int32_t LOG_ROLE_NONE = -1;

struct LogEntry {
  LogEntryKind kind = LOG_FILE;
  // Empty for LOG_UNINSTALL_KEY and LOG_REGISTRATION: the log file shows fixed texts for them.
  std::u16string path;
  // Temporary file holding the state this change replaced; never written to the log file.
  std::u16string backupPath;
  bool done = false;
  // For LOG_FILE the archive entry kind of the file, LOG_ROLE_NONE otherwise.
  std::int32_t role = LOG_ROLE_NONE;
};

}  // namespace qv
