// The version resource of the built setup, as the About box reads it.
#include <gtest/gtest.h>

#include "system/file_version.h"
#include "system/utf16.h"

namespace qv {
namespace {

TEST(SetupVersion, NamesTheInstallerItsVersionsAndTheMaker) {
  std::u16string path = Utf8ToUtf16(QV_SETUP_EXE);
  CFileVersionInfo info;
  info.flags = VI_ALL;
  ASSERT_TRUE(info.Read(path.c_str()));
  EXPECT_EQ(Utf16ToUtf8(info.displayText), "Install 1.3");
  EXPECT_EQ(info.fileVersion, PackFileVersion(0x00040005, 0x00020002));
  EXPECT_EQ(info.fileFlags, 0u);
  EXPECT_EQ(Utf16ToUtf8(info.legalCopyright), "Copyright \u00A9 Quorvik. All rights reserved.");
}

}  // namespace
}  // namespace qv
