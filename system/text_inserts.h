#pragma once
// Fills the "%1", "%2" inserts of a localised text by the system's message insert rules.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kHresultFail = 0x80004005u;
constexpr std::uint32_t kHresultInvalidArg = 0x80070057u;

// "%1".."%99" (an optional "!s!" format allowed) take the arguments as strings, "%%" is a
// percent sign, "%0" ends the text, "%n" is a line break, "%r" a carriage return, "%t" a
// tab, and "%" before any other character gives that character; everything else, the
// "\r\n" breaks of the tables included, is copied unchanged. Returns 0, or
// kHresultInvalidArg for an empty text, or kErrorInvalidParameter for an insert that
// names a missing argument or an unknown format (out is then empty).
std::uint32_t FormatTextInserts(std::u16string_view text, const std::vector<std::u16string>& arguments,
                                std::u16string& out);

}  // namespace qv
