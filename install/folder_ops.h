#pragma once
// Single-folder operations of change recording, beside the file layer and sharing its
// fault injection.
#include <string>

namespace qv {

bool IsFolderAt(const std::u16string& path);
// Creates exactly this folder (its parent must exist) and tells the shell about it.
bool CreateOneFolder(const std::u16string& path);
// Removes the folder only when it is empty.
bool RemoveEmptyFolder(const std::u16string& path);

}  // namespace qv
