#pragma once
// Folder macros in destination paths: "<InstallPath>", "<SamplePath>" and ten
// system folders ("<ProgramFiles>", "<CommonData>", ...), replaced by their values.
#include <string>
#include <string_view>

namespace qv {

// Replaces every macro of path by its folder; unknown or unresolvable macros
// become empty. Never fails.
std::u16string ExpandPathMacros(const std::u16string& installFolder,
                                const std::u16string& examplesFolder,
                                const std::u16string& path);

// Platform look-ups the expansion uses.
// The folder a system macro names (the name between the brackets), with its
// fallbacks; false when the name is unknown or no source yields a folder.
bool LookupFolderMacro(std::u16string_view name, std::u16string* folder);
bool IsRelativePath(const std::u16string& path);
// base, one backslash, more.
std::u16string AppendPath(const std::u16string& base, const std::u16string& more);

#ifndef _WIN32
// POSIX: the system folders are whatever the caller says. Names are given
// without the brackets ("CommonData"); an unset name has no folder of its own.
void SetMacroFolder(const std::u16string& name, const std::u16string& folder);
void ClearMacroFolders();
// Sets every system macro to the sub-folder of root named after it
// (root/ProgramFiles, root/CommonData, ...).
void SetMacroFoldersUnder(const std::u16string& root);
#endif

}  // namespace qv
