#include <gtest/gtest.h>

#include "system/file_version.h"
#include "system/named_objects.h"
#include "system/utf16.h"

namespace qv {
namespace {

TEST(FileVersionNumber, HalvesPackIntoOneComparableNumber) {
  EXPECT_EQ(PackFileVersion(0x00040005, 0x00020002), 0x0004000500020002u);
  // High parts must neither be lost nor sign-extended.
  EXPECT_EQ(PackFileVersion(0xFFFF0001, 0x80000000), 0xFFFF000180000000u);
  EXPECT_LT(PackFileVersion(0x00040005, 0x00020002), PackFileVersion(0x00040005, 0x00030000));
  EXPECT_LT(PackFileVersion(0x00040005, 0xFFFFFFFF), PackFileVersion(0x00040006, 0));
}

TEST(BuildFlagText, PrivateComesBeforeDebugAndOtherFlagsShowNothing) {
  struct Case {
    uint32_t flags;
    const char* suffix;
  };
  const Case cases[] = {
      {0, ""},
      {VERSION_FLAG_DEBUG, " - Debug"},
      {VERSION_FLAG_PRIVATE_BUILD, " - Private"},
      {VERSION_FLAG_DEBUG | VERSION_FLAG_PRIVATE_BUILD, " - Private - Debug"},
      {VERSION_FLAG_PRERELEASE, ""},
      {0x3F, " - Private - Debug"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16ToUtf8(BuildFlagSuffix(c.flags)), c.suffix) << "flags 0x" << std::hex << c.flags;
  }
}

TEST(TranslationKeyText, LanguageThenCodePageInUpperCaseHex) {
  EXPECT_EQ(TranslationKey(0x0409, 1200), u"040904B0");
  EXPECT_EQ(TranslationKey(0x0407, 1252), u"040704E4");
  EXPECT_EQ(TranslationKey(0xABCD, 0x0001), u"ABCD0001");
}

TEST(ObjectNamePrefix, GlobalOnlyOnNt5AndLater) {
  struct Case {
    unsigned long platformId;
    unsigned long major;
    const char16_t* prefix;
  };
  const unsigned long kWindows9x = 1, kNt = 2;
  const Case cases[] = {
      {kNt, 5, u"Global\\"}, {kNt, 10, u"Global\\"}, {kNt, 4, u""},
      {kWindows9x, 4, u""},  {kWindows9x, 5, u""},   {0, 6, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GlobalObjectPrefixFor(c.platformId, c.major), c.prefix)
        << "platform " << c.platformId << ", major " << c.major;
  }
}

}  // namespace
}  // namespace qv
