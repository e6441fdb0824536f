#pragma once
// Texts in the language of the setup state (theApp.languageIndex), from the program's
// string resources. Win32 only.
#ifdef _WIN32
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

unsigned LookupTextId(unsigned textId);
std::u16string LoadText(unsigned textId);
std::u16string GetSetupTitle(bool withProduct);
// The text with its inserts filled; empty when the text is missing or empty or an insert
// has no argument, with the error code (E_FAIL, E_INVALIDARG, 87) in *error if given.
std::u16string FormatTextInserts(unsigned textId, const std::vector<std::u16string>& arguments,
                                 std::uint32_t* error = nullptr);

}  // namespace qv
#endif
