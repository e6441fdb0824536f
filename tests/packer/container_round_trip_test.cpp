#include <gtest/gtest.h>

#include "archive/archive_format.h"
#include "tests/packer/packer_test_files.h"
#include "tests/packer/packer_test_pack.h"
#include "tools/qvpack/container_extract.h"
#include "tools/qvpack/container_reader.h"

namespace {

using qv::ParseMode;
using qv_test::Bytes;
using qv_test::FileSpec;

struct RoundTrip {
  const char* name;
  std::vector<FileSpec> files;
};
void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

FileSpec Compressed(const std::string& destination, Bytes content, const char* kind = "file") {
  return FileSpec{kind, true, destination, std::move(content)};
}
FileSpec Stored(const std::string& destination, Bytes content, const char* kind = "file") {
  return FileSpec{kind, false, destination, std::move(content)};
}

std::vector<RoundTrip> Cases() {
  const Bytes text = qv_test::Text(30000);
  return {
      {"OneEmptyCompressedFile", {Compressed("<InstallPath>\\empty", {})}},
      {"OneEmptyStoredFile", {Stored("<InstallPath>\\empty", {})}},
      {"EmptyEntriesEndTheDirectory",
       {Compressed("<InstallPath>\\a", text), Stored("<InstallPath>\\b", Bytes(100, 3)),
        Compressed("<InstallPath>\\c", {}), Stored("<InstallPath>\\d", {})}},
      {"EmptyCompressedEntryBeforeStoredData",
       {Compressed("<InstallPath>\\a", text), Compressed("<InstallPath>\\empty", {}),
        Stored("<InstallPath>\\b", qv_test::RandomBytes(1, 777))}},
      {"OnlyEmptyCompressedEntryThenStoredData",
       {Compressed("<InstallPath>\\empty", {}), Stored("<InstallPath>\\b", text)}},
      {"EmptyEntryBetweenCompressedEntries",
       {Compressed("<InstallPath>\\a", Bytes{1}), Compressed("<InstallPath>\\empty", {}),
        Compressed("<InstallPath>\\b", Bytes{2, 3})}},
      {"OneByteEach", {Compressed("<InstallPath>\\c1", Bytes{0x5A}), Stored("<InstallPath>\\s1", Bytes{0})}},
      {"LargerThanTheWindow", {Compressed("<InstallPath>\\big.txt", text)}},
      {"RunsOfOneByte",
       {Compressed("<InstallPath>\\zeros", Bytes(100000, 0)),
        Compressed("<InstallPath>\\ones", Bytes(5001, 0xFF))}},
      {"RandomSeed4242", {Compressed("<InstallPath>\\noise", qv_test::RandomBytes(4242, 300000))}},
      {"AllStored",
       {Stored("<InstallPath>\\a", text), Stored("<InstallPath>\\b", qv_test::RandomBytes(2, 70000)),
        Stored("<InstallPath>\\c", Bytes(5, 1))}},
      {"AllCompressed",
       {Compressed("<InstallPath>\\a", text), Compressed("<InstallPath>\\b", qv_test::RandomBytes(3, 5000)),
        Compressed("<InstallPath>\\c", Bytes(5, 1))}},
      {"MixedModesInAnyOrder",
       {Stored("<InstallPath>\\s1", text), Compressed("<InstallPath>\\c1", text),
        Stored("<InstallPath>\\s2", qv_test::RandomBytes(5, 40000)),
        Compressed("<InstallPath>\\c2", qv_test::MixedCorpus(6, 90000), "program")}},
      {"NonAsciiPathsAndEveryMacroKind",
       {Compressed("<InstallPath>\\Donn\xC3\xA9""es\\\xC3\x9C""bersicht \xC3\xA9t\xC3\xA9.txt", text),
        Compressed("<CommonData>\\Quorvik\\\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.dat", Bytes(999, 7),
                   "keep-existing"),
        Stored("<SamplePath>\\Exemple \xF0\x9F\x98\x80.vnt", Bytes(64, 9), "not-on-update"),
        Stored("<UserData>\\Quorvik\\user.cfg", Bytes{1, 2, 3}, "keep-existing")}},
      {"SeveralEncoderBlocks", {Compressed("<InstallPath>\\mixed.bin", qv_test::MixedCorpus(7, 1500000))}},
  };
}

class ContainerRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ContainerRoundTrip, EngineReproducesEveryFile) {
  for (ParseMode mode : {ParseMode::kOptimal, ParseMode::kGreedy}) {
    SCOPED_TRACE(mode == ParseMode::kOptimal ? "optimal" : "greedy");
    qv_test::ScratchDir dir;
    qv::PackReport report;
    std::string error;
    ASSERT_TRUE(qv_test::Pack(dir.path(), GetParam().files, mode, report, error)) << error;
    ASSERT_TRUE(qv_test::Unpack(dir.path(), error)) << error;
    for (const FileSpec& file : GetParam().files) {
      const std::string path = qv_test::ExtractedPath(dir.path(), file.destination);
      ASSERT_TRUE(qv_test::Exists(path)) << path;
      EXPECT_EQ(qv_test::ReadBytes(path), file.content) << path;
    }
    qv::ContainerInfo info;
    EXPECT_TRUE(qv::VerifyContainer(dir / "out.qvc", info, error)) << error;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ContainerRoundTrip, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<RoundTrip>& info) { return info.param.name; });

TEST(ContainerLayout, CompressedEntriesFirstEachGroupInManifestOrder) {
  qv_test::ScratchDir dir;
  const std::vector<FileSpec> files = {
      Stored("<InstallPath>\\s1", Bytes{1}),          Compressed("<InstallPath>\\c1", Bytes{2}),
      Stored("<InstallPath>\\s2", Bytes{3}),          Compressed("<InstallPath>\\c2", Bytes{4}, "uninstaller"),
      Compressed("<InstallPath>\\c3", Bytes{}),        Stored("<InstallPath>\\s3", Bytes{})};
  qv::PackReport report;
  std::string error;
  ASSERT_TRUE(qv_test::Pack(dir.path(), files, ParseMode::kOptimal, report, error)) << error;
  qv::ContainerInfo info;
  ASSERT_TRUE(qv::ReadContainerDirectory(dir / "out.qvc", info, error)) << error;
  const std::u16string order[] = {u"<InstallPath>\\c1", u"<InstallPath>\\c2", u"<InstallPath>\\c3",
                                  u"<InstallPath>\\s1", u"<InstallPath>\\s2", u"<InstallPath>\\s3"};
  // The empty c3 follows the last compressed data, so it is flagged stored.
  const bool flag[] = {true, true, false, false, false, false};
  ASSERT_EQ(info.entries.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(info.entries[i].destination, order[i]) << i;
    EXPECT_EQ(info.entries[i].compressed, flag[i]) << i;
  }
  EXPECT_EQ(info.entries[1].kind, qv::ENTRY_KIND_UNINSTALLER);
  EXPECT_EQ(info.entries[2].checksum, qv::kChecksumOfZero);
  EXPECT_EQ(info.entries[0].checksum, 2u);
  EXPECT_EQ(info.fileBytes, qv::kContainerHeaderSize + report.lzBytes + 2);  // s1 and s2, one byte each
}

}  // namespace
