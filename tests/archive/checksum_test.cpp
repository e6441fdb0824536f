#include "archive/checksum.h"

#include <gtest/gtest.h>

#include "system/file_io.h"
#include "tests/archive/archive_builder.h"

namespace qv {
namespace {

using test::Bytes;

uint32_t ReferenceChecksum(const Bytes& bytes) {
  uint32_t h = 0;
  for (uint8_t b : bytes) h = h * 33 + b;
  return h == 0 ? 0x2357BD11u : h;
}

struct WorkedValue {
  const char* name;
  Bytes bytes;
  uint32_t checksum;
};

void PrintTo(const WorkedValue& v, std::ostream* os) { *os << v.name; }

class ChecksumWorkedValue : public ::testing::TestWithParam<WorkedValue> {};

TEST_P(ChecksumWorkedValue, MatchesInMemoryAndOnDisk) {
  const WorkedValue& v = GetParam();
  EXPECT_EQ(ComputeChecksum(v.bytes.data(), v.bytes.size()), v.checksum);
  test::TempFolder folder;
  test::WriteBytes(folder.path() / "f.bin", v.bytes);
  EXPECT_EQ(ComputeFileChecksum((folder.path() / "f.bin").u16string()), v.checksum);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ChecksumWorkedValue,
    ::testing::Values(WorkedValue{"empty", {}, 0x2357BD11u}, WorkedValue{"abc", {'a', 'b', 'c'}, 0x0001A9A6u},
                      WorkedValue{"two_zero_bytes_fold_to_zero", {0, 0}, 0x2357BD11u}));

// The fold takes four bytes per multiply; every length and alignment must agree
// with the plain byte-by-byte definition.
TEST(ChecksumFold, FourByteFoldAgreesWithByteByByteAtEveryLength) {
  const uint32_t seed = 20261211;
  const Bytes data = test::PatternBytes(300, seed);
  for (size_t offset = 0; offset < 4; ++offset) {
    for (size_t length = 0; offset + length <= data.size(); ++length) {
      const Bytes slice(data.begin() + offset, data.begin() + offset + length);
      ASSERT_EQ(ComputeChecksum(data.data() + offset, length), ReferenceChecksum(slice))
          << "seed " << seed << " offset " << offset << " length " << length;
    }
  }
  // Folding in pieces equals folding at once.
  uint32_t h = FoldChecksum(0, data.data(), 7);
  h = FoldChecksum(h, data.data() + 7, data.size() - 7);
  EXPECT_EQ(FinishChecksum(h), ReferenceChecksum(data));
}

// Files of exactly n blocks end with an empty read, which must not be an error.
TEST(FileChecksum, ExactBlockMultiplesAreCheckedCompletely) {
  test::TempFolder folder;
  for (size_t size : {size_t{65535}, size_t{65536}, size_t{131072}, size_t{131073}}) {
    const Bytes data = test::PatternBytes(size, static_cast<uint32_t>(size));
    test::WriteBytes(folder.path() / "whole.bin", data);
    EXPECT_EQ(ComputeFileChecksum((folder.path() / "whole.bin").u16string()), ReferenceChecksum(data)) << size;

    test::WriteBytes(folder.path() / "container.bin", test::BuildContainer(data));
    EXPECT_TRUE(VerifyArchiveChecksum((folder.path() / "container.bin").u16string())) << size;
  }
}

struct ContainerCase {
  const char* name;
  Bytes container;
  bool valid;
};

void PrintTo(const ContainerCase& c, std::ostream* os) { *os << c.name; }

class ContainerCheck : public ::testing::TestWithParam<ContainerCase> {};

TEST_P(ContainerCheck, AcceptsOnlyAMatchingHeader) {
  test::TempFolder folder;
  test::WriteBytes(folder.path() / "c.bin", GetParam().container);
  EXPECT_EQ(VerifyArchiveChecksum((folder.path() / "c.bin").u16string()), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Containers, ContainerCheck,
    ::testing::Values(ContainerCase{"header_only_with_checksum_of_nothing", {0x11, 0xBD, 0x57, 0x23}, true},
                      ContainerCase{"header_only_with_zero", {0, 0, 0, 0}, false},
                      ContainerCase{"empty_file", {}, false},
                      ContainerCase{"three_bytes", {0x11, 0xBD, 0x57}, false},
                      ContainerCase{"rest_folds_to_zero", {0x11, 0xBD, 0x57, 0x23, 0, 0}, true},
                      ContainerCase{"abc", {0xA6, 0xA9, 0x01, 0x00, 'a', 'b', 'c'}, true},
                      ContainerCase{"abc_one_bit_off", {0xA7, 0xA9, 0x01, 0x00, 'a', 'b', 'c'}, false}));

TEST(FileChecksum, MissingFileGivesZeroAndFailsTheCheck) {
  test::TempFolder folder;
  EXPECT_EQ(ComputeFileChecksum((folder.path() / "missing.bin").u16string()), 0u);
  EXPECT_FALSE(VerifyArchiveChecksum((folder.path() / "missing.bin").u16string()));
}

// A failing read midway must give "no checksum", not the checksum of a prefix.
TEST(FileChecksum, ReadFailureGivesZero) {
  test::TempFolder folder;
  test::WriteBytes(folder.path() / "f.bin", test::PatternBytes(200000, 7));
  const std::u16string path = (folder.path() / "f.bin").u16string();
  // Operations: open, seek, first read, second read.
  InjectFileFault(4, kErrorAccessDenied);
  EXPECT_EQ(ComputeFileChecksum(path), 0u);
  InjectFileFault(0, 0);
  EXPECT_NE(ComputeFileChecksum(path), 0u);
}

}  // namespace
}  // namespace qv
