#include "install/log_merge.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <unordered_set>

namespace qv {
namespace {

bool NamesItem(LogEntryKind kind) { return kind == LOG_DIRECTORY || kind == LOG_FILE; }
bool IsKnownKind(LogEntryKind kind) { return kind >= 0 && kind <= LOG_KIND_LAST; }

// The entries already in the merged log, by kind, with the exact paths for a quick answer
// before the slower item comparison.
class MergedSet {
 public:
  void Add(const LogEntry& entry) {
    if (!IsKnownKind(entry.kind)) return;
    const std::size_t kind = static_cast<std::size_t>(entry.kind);
    present_[kind] = true;
    if (NamesItem(entry.kind)) {
      paths_[kind].push_back(&entry.path);
      exact_[kind].insert(entry.path);
    }
  }

  bool Supersedes(const LogEntry& earlier, SameItemTest sameItem) const {
    if (!IsKnownKind(earlier.kind)) return false;
    const std::size_t kind = static_cast<std::size_t>(earlier.kind);
    if (!NamesItem(earlier.kind)) return present_[kind];
    if (exact_[kind].count(earlier.path) != 0) return true;
    return std::any_of(paths_[kind].begin(), paths_[kind].end(),
                       [&](const std::u16string* path) { return sameItem(*path, earlier.path); });
  }

 private:
  static constexpr std::size_t kKinds = LOG_KIND_LAST + 1;
  std::array<bool, kKinds> present_{};
  std::array<std::vector<const std::u16string*>, kKinds> paths_;
  std::array<std::unordered_set<std::u16string>, kKinds> exact_;
};

}  // namespace

std::vector<LogEntry> MergeLogEntries(const std::vector<LogEntry>& previous,
                                      std::vector<LogEntry> current, SameItemTest sameItem) {
  MergedSet merged;
  for (const LogEntry& entry : current) merged.Add(entry);
  // Taken-over entries are collected newest first; their addresses must stay put.
  std::vector<LogEntry> kept;
  kept.reserve(previous.size());
  for (auto it = previous.rbegin(); it != previous.rend(); ++it) {
    if (merged.Supersedes(*it, sameItem)) continue;
    kept.push_back(*it);
    merged.Add(kept.back());
  }
  std::reverse(kept.begin(), kept.end());
  kept.insert(kept.end(), std::make_move_iterator(current.begin()),
              std::make_move_iterator(current.end()));
  return kept;
}

}  // namespace qv
