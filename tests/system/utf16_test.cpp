#include "system/utf16.h"

#include <gtest/gtest.h>

namespace {

struct Utf8Case {
  const char* utf8;
  std::u16string utf16;
};

void PrintTo(const Utf8Case& c, std::ostream* os) { *os << '"' << c.utf8 << '"'; }

class Utf8RoundTrip : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8RoundTrip, ConvertsBothWays) {
  EXPECT_EQ(qv::Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
  EXPECT_EQ(qv::Utf16ToUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8RoundTrip,
                         ::testing::Values(Utf8Case{"", u""}, Utf8Case{"Vantrel", u"Vantrel"},
                                           Utf8Case{"\xC3\x8Ates", u"\u00CAtes"},
                                           Utf8Case{"\xC2\xA0:", u"\u00A0:"},
                                           Utf8Case{"\xD0\x8A", u"\u040A"},
                                           Utf8Case{"\xF0\x9F\x98\x80", u"\U0001F600"}));

TEST(Utf8Decoding, IllFormedSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(qv::Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(qv::Utf8ToUtf16("\xC3"), u"\uFFFD");             // truncated at the end
  EXPECT_EQ(qv::Utf8ToUtf16("\xC0\x80"), u"\uFFFD");         // overlong NUL
  EXPECT_EQ(qv::Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");     // encoded surrogate
  EXPECT_EQ(qv::Utf16ToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");  // lone surrogate
}

}  // namespace
