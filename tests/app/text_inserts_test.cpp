// The insert rules of the system's message formatting, on patterns the tables may hold.
#include <gtest/gtest.h>

#include "system/text_inserts.h"
#include "system/utf16.h"

namespace qv {
namespace {

struct InsertCase {
  std::u16string pattern;
  std::u16string text;
};

void PrintTo(const InsertCase& c, std::ostream* os) { *os << Utf16ToUtf8(c.pattern); }

class InsertRules : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertRules, Apply) {
  std::u16string out;
  ASSERT_EQ(FormatTextInserts(GetParam().pattern, {u"A", u"B", u"C", u"D", u"E", u"F", u"G", u"H", u"I", u"J",
                                                    u"K", u"L"},
                              out),
            0u);
  EXPECT_EQ(Utf16ToUtf8(out), Utf16ToUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, InsertRules,
    ::testing::Values(InsertCase{u"%2 before %1", u"B before A"}, InsertCase{u"%1%1", u"AA"},
                      InsertCase{u"100%% sure", u"100% sure"}, InsertCase{u"%12", u"L"},
                      InsertCase{u"%123", u"L3"}, InsertCase{u"%1!s! x", u"A x"},
                      InsertCase{u"cut%0 here", u"cut"}, InsertCase{u"a%nb%tc%rd", u"a\r\nb\tc\rd"},
                      InsertCase{u"%. %! %x", u". ! x"}, InsertCase{u"line\r\nbreak", u"line\r\nbreak"},
                      InsertCase{u"50%", u"50%"}, InsertCase{u"%1 = %%1", u"A = %1"}));

TEST(InsertRules, AnArgumentThatIsNotThereIsAnErrorNotGarbage) {
  std::u16string out = u"stale";
  EXPECT_EQ(FormatTextInserts(u"%1 and %2", {u"one"}, out), kErrorInvalidParameter);
  EXPECT_EQ(out, u"");
  EXPECT_EQ(FormatTextInserts(u"%1!d!", {u"one"}, out), kErrorInvalidParameter);
  EXPECT_EQ(FormatTextInserts(u"%1!s", {u"one"}, out), kErrorInvalidParameter);
  EXPECT_EQ(FormatTextInserts(u"", {}, out), kHresultInvalidArg);
}

TEST(InsertRules, ArgumentsAreNotFormattedAgain) {
  std::u16string out;
  ASSERT_EQ(FormatTextInserts(u"[%1]", {u"%2 %% %0"}, out), 0u);
  EXPECT_EQ(out, u"[%2 %% %0]");
}

}  // namespace
}  // namespace qv
