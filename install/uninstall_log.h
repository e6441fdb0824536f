#pragma once
// The changes an installation makes, and the earlier installation's log that it continues.
#include <string>
#include <vector>

#include "install/log_entry.h"

namespace qv {

class UninstallLog {
 public:
  // "Install Path" of the earlier log when it names an existing folder, otherwise empty.
  std::u16string installPath;
  // "Shortcut Path" of the earlier log, same rule.
  std::u16string shortcutPath;
  // Entry lines of the earlier log, in file order.
  std::vector<LogEntry> previousEntries;
  // Changes recorded by this run, oldest first.
  std::vector<LogEntry> entries;
  // Product name and version of the earlier log's "Install" line; empty when there was none.
  std::u16string previousProductName;
  // This setup's product name and version.
  std::u16string productName;

  // Takes name as this run's product, forgets any log read before, then reads the earlier
  // log at path (an empty path means there is none). A missing, foreign or damaged log is
  // not an error: reading stops at the first damaged line and keeps what came before it.
  void ReadLog(const std::u16string& path, const std::u16string& name);

  // Merges the earlier entries into entries, writes the log file (read-only afterwards) and
  // deletes every backup, whether or not the file could be written. True when the file was
  // created and every line was written.
  bool WriteLog(const std::u16string& logPath, const std::u16string& installFolder,
                const std::u16string& menuFolder);

  // Whether the earlier installation wrote exactly this file (case-sensitive).
  bool WasInstalledBefore(const std::u16string& path) const;
};

}  // namespace qv
