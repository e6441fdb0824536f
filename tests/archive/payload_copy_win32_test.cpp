#include "archive/payload_copy.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "system/file_io.h"
#include "tests/archive/archive_builder.h"

namespace qv {
namespace {

TEST(CopyPayloadToTempFile, CopiesTheResourceByteForByteIntoAQvTemporaryFile) {
  std::u16string tempFile = u"unchanged";
  std::u16string errorText;
  ASSERT_TRUE(CopyPayloadToTempFile(tempFile, errorText)) << std::filesystem::path(errorText).string();
  const std::filesystem::path copied(tempFile);
  EXPECT_EQ(test::ReadBytes(copied), (test::Bytes{'P', 'a', 'y', 'l', 'o', 'a', 'd', 0, 'b', 'y', 't', 'e', 's',
                                                  0x34, 0x12, 0, 0, 0xFF, 0}));
  EXPECT_EQ(copied.filename().string().substr(0, 2), "qv");
  std::u16string tempFolder;
  ASSERT_TRUE(GetTempFolder(&tempFolder));
  EXPECT_EQ(std::filesystem::path(tempFolder).lexically_normal(),
            copied.parent_path().lexically_normal() / "");
  EXPECT_TRUE(DeleteFileAt(tempFile));
}

}  // namespace
}  // namespace qv
