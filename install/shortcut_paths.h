#pragma once
// The names behind a shortcut file: where it lies, what it is called, where its target runs.
#include <string>

namespace qv {

struct ShortcutPaths {
  std::u16string workingFolder;  // the target's folder
  std::u16string linkPath;       // folder + display name + ".lnk"
};

// displayName null: the target's file name without its extension. The display name is used
// as it is (no character replaced, an existing ".lnk" kept). False for an empty target, a
// target without a file name, or a link path beyond the path limit.
bool BuildShortcutPaths(const std::u16string* displayName, const std::u16string& target,
                        const std::u16string& folder, ShortcutPaths* paths);

}  // namespace qv
