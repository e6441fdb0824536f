#pragma once
#include <string>

namespace qv {

// Whether two paths name the same folder or file: equal texts, or two paths that the shell
// resolves to the same item (different case, short names). Any failure gives false.
bool IsSameShellItem(const std::u16string& a, const std::u16string& b);

}  // namespace qv
