#pragma once
// Path arithmetic for recording created folders; no file-system access.
#include <string>
#include <vector>

namespace qv {

// The longest path a fixed path buffer holds (without its terminator).
constexpr std::size_t kMaxPathChars = 259;

// Every prefix of path (cut to kMaxPathChars) that ends at a component boundary and has at
// least two components, shortest first: C:\A\B gives C:\A and C:\A\B. The drive or root
// alone is never listed; separators at the end are ignored.
std::vector<std::u16string> FolderChainPrefixes(const std::u16string& path);

// path (cut to kMaxPathChars) without its last component; a root keeps its separator.
// Empty when there is no separator to cut at.
std::u16string PathWithoutFileName(const std::u16string& path);

}  // namespace qv
