#pragma once
// Shell shortcut files to the installed programs.
#include <string>

namespace qv {

// Writes folder\<name>.lnk pointing at target, with the target's folder as working folder;
// an existing file of that name is overwritten. displayName null: the target's name without
// extension. The folder must exist. *linkPath (when given) receives the file's path, and is
// left alone on failure.
bool CreateShortcut(const std::u16string* displayName, const std::u16string& target,
                    const std::u16string& folder, std::u16string* linkPath);

}  // namespace qv
