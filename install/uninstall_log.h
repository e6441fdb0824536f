#pragma once
// The changes an installation makes, and the earlier installation's log that it continues.
#include <cstdint>
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

  // Recording of this run's changes. None reports a failure: a change whose earlier state
  // could not be put aside is still recorded, and Rollback can then only remove it.

  // Creates the missing folders of path, top down, recording each created one as done.
  void RecordFolderChain(const std::u16string& path);
  // Records a file about to be written (or kept, with keepCopy): its folders first, then the
  // file, putting an existing file aside -- moved, or copied when it stays in place.
  void RecordFile(const std::u16string& path, std::int32_t role, bool keepCopy);
  // Records a shortcut of kind about to be created in folder (created here); the earlier
  // installation's shortcut of the same kind is moved aside.
  void RecordShortcut(LogEntryKind kind, const std::u16string& folder);
  // Records the product's Uninstall key; existingKey is the open key (an HKEY) when it existed
  // before this run, whose content is then saved, or null when this run creates it.
  void RecordUninstallKey(void* existingKey);
  void RecordRegistration();
  // Undoes every entry of this run, newest first, and forgets them.
  void Rollback();
  // A fresh "qv" name in the temporary folder; with a source, the source moved (or copied)
  // there with its attributes. Empty when the name or the move/copy fails.
  static std::u16string MakeBackup(const std::u16string& source, bool copy);
};

}  // namespace qv
