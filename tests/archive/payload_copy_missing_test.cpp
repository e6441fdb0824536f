#include "archive/payload_copy.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

#ifdef _WIN32
// This test program carries no payload resource.
TEST(CopyPayloadToTempFile, MissingResourceReportsTheStepAndLeavesTheStateAlone) {
  std::u16string tempFile = u"unchanged";
  std::u16string errorText;
  EXPECT_FALSE(CopyPayloadToTempFile(tempFile, errorText));
  // 1812 when the program has no resources at all, 1813 when it has others.
  EXPECT_TRUE(errorText == u"00000714 (FindResource)" || errorText == u"00000715 (FindResource)");
  EXPECT_EQ(tempFile, u"unchanged");
}
#endif

}  // namespace
}  // namespace qv
