// Whole-number parsing of the numbers in the uninstall log.
#include <gtest/gtest.h>

#include "system/strict_integer.h"
#include "system/utf16.h"

namespace qv {
namespace {

struct NumberCase {
  std::u16string text;
  int base;
  std::int32_t value;
  bool notWhole;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << '"' << Utf16ToUtf8(c.text) << "\" base " << c.base; }

class StrictInteger : public ::testing::TestWithParam<NumberCase> {};

TEST_P(StrictInteger, GivesValueAndFlag) {
  bool notWhole = !GetParam().notWhole;
  EXPECT_EQ(ParseStrictInteger(GetParam().text, GetParam().base, &notWhole), GetParam().value);
  EXPECT_EQ(notWhole, GetParam().notWhole);
  EXPECT_EQ(ParseStrictInteger(GetParam().text, GetParam().base), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StrictInteger,
    ::testing::Values(NumberCase{u"12 ", 10, 12, false}, NumberCase{u"12a", 10, 12, true},
                      NumberCase{u"0", 10, 0, false}, NumberCase{u"", 10, 0, true}, NumberCase{u"x", 10, 0, true},
                      NumberCase{u"ff", 16, 255, false}, NumberCase{u"0x1F", 16, 31, false},
                      NumberCase{u"0x", 16, 0, true}, NumberCase{u"  -42\t\r\n", 10, -42, false},
                      NumberCase{u"+7", 10, 7, false}, NumberCase{u"-0", 10, 0, false},
                      NumberCase{u"-", 10, 0, true}, NumberCase{u"   ", 10, 0, true},
                      NumberCase{u"0042", 10, 42, false}, NumberCase{u"1 2", 10, 1, true},
                      NumberCase{u"2147483647", 10, 2147483647, false},
                      NumberCase{u"2147483648", 10, 2147483647, true},
                      NumberCase{u"-2147483648", 10, -2147483647 - 1, false},
                      NumberCase{u"-2147483649", 10, -2147483647 - 1, true},
                      NumberCase{u"99999999999999999999999", 10, 2147483647, true},
                      NumberCase{u"FFFFFFFF", 16, 2147483647, true}, NumberCase{u"7FFFFFFF", 16, 2147483647, false},
                      NumberCase{u"1\u00A0", 10, 1, true}, NumberCase{u"\uFF11", 10, 0, true}));

}  // namespace
}  // namespace qv
