#pragma once
// Strict whole-number parsing for the numbers of text files the setup reads back.
#include <cstdint>
#include <string_view>

namespace qv {

// Standard string-to-long rules (leading white space, one sign, digits of the base
// as far as they go; "0x" is accepted in base 16). notWhole is set when the text is
// not one whole 32-bit number: out of range (the nearest limit is returned), no digit
// read, or anything but white space after the number; it is cleared otherwise.
std::int32_t ParseStrictInteger(std::u16string_view text, int base, bool* notWhole = nullptr);

}  // namespace qv
