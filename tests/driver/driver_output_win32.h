#pragma once
#include <string>

namespace qv::driver {

// One line on standard output in UTF-8, flushed at once so a caller sees progress live.
void PrintLine(const std::wstring& line);

}  // namespace qv::driver
