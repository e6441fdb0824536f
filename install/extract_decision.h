#pragma once
// What the installation does with each archive entry and how far the progress bar stands.
#include <cstdint>

namespace qv {

enum class EntryAction {
  Write,          // record the file (backing up what is there) and let the engine write it
  KeepInstalled,  // the earlier installation wrote it: leave it, open it to the Users group
  KeepExisting,   // a user's file: leave it, record it as installed, open it to the Users group
  Skip,           // not part of an update: nothing at all
};

// entryKind as in the archive; previousState a previousInstallState value.
EntryAction DecideEntry(std::uint32_t entryKind, std::int32_t previousState, bool installedBefore,
                        bool fileExists);

// 0..100, rounded; 100 only when every byte is done.
int ProgressPosition(std::uint32_t doneBytes, std::uint32_t totalBytes);

}  // namespace qv
