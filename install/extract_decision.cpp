#include "install/extract_decision.h"

#include <cmath>

#include "app/setup_state.h"
#include "archive/archive_format.h"

namespace qv {

EntryAction DecideEntry(std::uint32_t entryKind, std::int32_t previousState, bool installedBefore,
                        bool fileExists) {
  switch (entryKind) {
    case ENTRY_KIND_KEEP_EXISTING:
      if (previousState != PREVIOUS_NONE && installedBefore) return EntryAction::KeepInstalled;
      return fileExists ? EntryAction::KeepExisting : EntryAction::Write;
    case ENTRY_KIND_NOT_ON_UPDATE:
      return previousState == PREVIOUS_OLDER ? EntryAction::Skip : EntryAction::Write;
    default:
      return EntryAction::Write;
  }
}

int ProgressPosition(std::uint32_t doneBytes, std::uint32_t totalBytes) {
  if (totalBytes == 0) return 0;
  int position = static_cast<int>(std::floor(static_cast<double>(doneBytes) / totalBytes * 100.0 + 0.5));
  if (position == 100 && doneBytes < totalBytes) position = 99;
  return position;
}

}  // namespace qv
