// Without the system's message tables: the codes the setup shows still have texts.
#include <gtest/gtest.h>

#include "system/system_error_text.h"
#include "system/text_inserts.h"

namespace qv {
namespace {

TEST(SystemErrorTextTable, ShownCodesHaveTheirOwnTextsAndOthersTheUnspecifiedOne) {
  std::u16string unspecified = GetSystemErrorText(kHresultFail, 0);
  EXPECT_FALSE(unspecified.empty());
  EXPECT_NE(GetSystemErrorText(kErrorBusy, 0), unspecified);
  EXPECT_NE(GetSystemErrorText(kErrorBadPathname, 0), unspecified);
  EXPECT_NE(GetSystemErrorText(kErrorBusy, 0), GetSystemErrorText(kErrorBadPathname, 0));
  EXPECT_EQ(GetSystemErrorText(0x2000FFFFu, 0x0409), unspecified);
}

}  // namespace
}  // namespace qv
