#pragma once
// Carrying an earlier installation's entries over into this run's log.
#include <string>
#include <vector>

#include "install/log_entry.h"

namespace qv {

// Whether two paths name the same folder or file (IsSameShellItem in the product).
using SameItemTest = bool (*)(const std::u16string& a, const std::u16string& b);

// The earlier entries that this run did not supersede, in their earlier order, followed by
// this run's entries. An earlier folder or file entry is superseded by a later entry of the
// same kind for the same item; an entry of any other kind by any later entry of its kind.
std::vector<LogEntry> MergeLogEntries(const std::vector<LogEntry>& previous,
                                      std::vector<LogEntry> current, SameItemTest sameItem);

}  // namespace qv
