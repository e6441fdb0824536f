#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "archive/archive_format.h"
#include "archive/checksum.h"
#include "tests/packer/packer_test_files.h"
#include "tests/packer/packer_test_pack.h"
#include "tools/qvpack/container_extract.h"
#include "tools/qvpack/manifest.h"

namespace {

using qv::ParseMode;
using qv_test::Bytes;
using qv_test::FileSpec;

struct Outcome {
  int exitCode;
  std::string output;  // stdout and stderr
};

Outcome RunQvpack(const std::string& arguments) {
  std::string command = std::string(QVPACK_PATH) + " " + arguments + " 2>&1";
  Outcome outcome{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) outcome.output.append(buffer, n);
  int status = pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

std::string Quote(const std::string& path) { return "'" + path + "'"; }

// A container with one compressed and one stored entry, packed in dir/out.qvc.
class PackedContainer : public ::testing::Test {
 protected:
  void SetUp() override {
    files_ = {FileSpec{"program", true, "<InstallPath>\\Vantrel.exe", Bytes{'a', 'b', 'c'}},
              FileSpec{"keep-existing", false, "<CommonData>\\Quorvik\\data.bin",
                       qv_test::RandomBytes(77, 5000)}};
    std::string error;
    ASSERT_TRUE(qv_test::Pack(dir_.path(), files_, ParseMode::kOptimal, report_, error)) << error;
    container_ = dir_ / "out.qvc";
    bytes_ = qv_test::ReadBytes(container_);
  }

  // Rewrites the container with a checksum that matches its new bytes.
  void Rewrite(Bytes bytes) {
    const uint32_t checksum = qv::ComputeChecksum(bytes.data() + 4, bytes.size() - 4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(checksum >> (8 * i));
    qv_test::WriteBytes(container_, bytes);
  }

  std::string Verify() {
    qv::ContainerInfo info;
    std::string error;
    const bool verified = qv::VerifyContainer(container_, info, error);
    EXPECT_EQ(verified, error.empty());
    return error;
  }

  qv_test::ScratchDir dir_;
  std::vector<FileSpec> files_;
  qv::PackReport report_;
  std::string container_;
  Bytes bytes_;
};

TEST_F(PackedContainer, ListShowsOneLinePerEntry) {
  Outcome listed = RunQvpack("list " + Quote(container_));
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_EQ(listed.output,
            "0\tprogram\tcompressed\t3\t0001A9A6\t<InstallPath>\\Vantrel.exe\n"
            "1\tkeep-existing\tstored\t5000\t" +
                [&] {
                  char hex[9];
                  std::snprintf(hex, sizeof hex, "%08X", report_.entries[1].checksum);
                  return std::string(hex);
                }() +
                "\t<CommonData>\\Quorvik\\data.bin\n");
}

TEST_F(PackedContainer, VerifyAcceptsTheBuiltContainer) {
  EXPECT_EQ(Verify(), "");
  Outcome verified = RunQvpack("verify " + Quote(container_));
  EXPECT_EQ(verified.exitCode, 0) << verified.output;
}

TEST_F(PackedContainer, VerifyReportsADamagedByte) {
  Bytes damaged = bytes_;
  damaged.at(damaged.size() - 1) ^= 0x01;
  qv_test::WriteBytes(container_, damaged);
  EXPECT_NE(Verify().find("container checksum does not match"), std::string::npos);
  Outcome verified = RunQvpack("verify " + Quote(container_));
  EXPECT_EQ(verified.exitCode, 1);
  EXPECT_NE(verified.output.find("checksum"), std::string::npos) << verified.output;
}

TEST_F(PackedContainer, VerifyNamesTheEntryWhoseDataChanged) {
  Bytes damaged = bytes_;
  damaged.at(damaged.size() - 1) ^= 0x01;  // inside the stored entry; the container checksum is made to match
  Rewrite(damaged);
  const std::string error = Verify();
  EXPECT_NE(error.find("entry 1 (<CommonData>\\Quorvik\\data.bin): checksum"), std::string::npos)
      << error;
}

TEST_F(PackedContainer, VerifyReportsBytesAfterTheData) {
  Bytes longer = bytes_;
  longer.resize(longer.size() + 1, 0);
  Rewrite(longer);
  const std::string error = Verify();
  EXPECT_NE(error.find("ends at byte " + std::to_string(bytes_.size()) + " of " +
                       std::to_string(longer.size())),
            std::string::npos)
      << error;
}

TEST_F(PackedContainer, VerifyReportsACutContainer) {
  Rewrite(Bytes(bytes_.begin(), bytes_.end() - 10));
  EXPECT_NE(Verify().find("ends before its expected data"), std::string::npos);
}

TEST_F(PackedContainer, ExtractWritesMacroFoldersUnderTheFoldersRoot) {
  const std::string install = dir_ / "x/install";
  const std::string folders = dir_ / "x/folders";
  Outcome extracted = RunQvpack("extract " + Quote(container_) + " --install " + Quote(install) +
                                " --folders " + Quote(folders));
  ASSERT_EQ(extracted.exitCode, 0) << extracted.output;
  EXPECT_EQ(qv_test::ReadBytes(install + "/Vantrel.exe"), files_[0].content);
  EXPECT_EQ(qv_test::ReadBytes(folders + "/CommonData/Quorvik/data.bin"), files_[1].content);
}

TEST(QvpackExtract, ExamplesNameLandsUnderTheCommonDesktop) {
  qv_test::ScratchDir dir;
  qv::PackReport report;
  std::string error;
  const std::vector<FileSpec> files = {
      FileSpec{"not-on-update", true, "<SamplePath>\\Demo.vnt", Bytes(300, 'd')}};
  ASSERT_TRUE(qv_test::Pack(dir.path(), files, ParseMode::kOptimal, report, error)) << error;
  Outcome extracted = RunQvpack("extract " + Quote(dir / "out.qvc") + " --install " +
                                Quote(dir / "install") + " --examples 'Vantrel Examples'");
  ASSERT_EQ(extracted.exitCode, 0) << extracted.output;
  // Without --folders the macro folders sit under the --install folder.
  EXPECT_EQ(qv_test::ReadBytes(dir / "install/CommonDesktop/Vantrel Examples/Demo.vnt"),
            files[0].content);
}

TEST(QvpackCommandLine, ExitCodesTellUsageFromFailure) {
  qv_test::ScratchDir dir;
  qv_test::WriteText(dir / "bad.txt", "file\tcompressed\t<Nowhere>\\a\ta\n");
  struct Case {
    std::string arguments;
    int exitCode;
    std::string message;
  } cases[] = {
      {"", 2, "no command"},
      {"pack x", 2, "unknown command 'pack'"},
      {"build " + Quote(dir / "bad.txt"), 2, "-o CONTAINER"},
      {"extract " + Quote(dir / "c.qvc"), 2, "--install DIR"},
      {"--help", 0, "qvpack build MANIFEST -o CONTAINER"},
      {"build " + Quote(dir / "bad.txt") + " -o " + Quote(dir / "c.qvc"), 1,
       dir / "bad.txt:1: destination must begin with a folder macro"},
      {"list " + Quote(dir / "none.qvc"), 1, "none.qvc: cannot open"},
      {"verify " + Quote(dir / "bad.txt"), 1, "bad.txt: invalid directory size"},
  };
  for (const Case& c : cases) {
    Outcome outcome = RunQvpack(c.arguments);
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments << "\n" << outcome.output;
    EXPECT_NE(outcome.output.find(c.message), std::string::npos) << c.arguments << "\n" << outcome.output;
  }
}

class FailedBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    qv_test::WriteText(dir_ / "out.qvc", "previous container");
    qv_test::WriteText(dir_ / "src/a", "aaaa");
    qv_test::WriteText(dir_ / "src/b", "bbbb");
    qv_test::WriteText(dir_ / "src/m.txt",
                       "file\tcompressed\t<InstallPath>\\a\ta\nfile\tstored\t<InstallPath>\\b\tb\n");
    std::string error;
    ASSERT_TRUE(qv::ReadManifest(dir_ / "src/m.txt", entries_, error)) << error;
  }

  std::string Build() {
    qv::PackReport report;
    std::string error;
    EXPECT_FALSE(qv::WriteContainer(entries_, dir_ / "out.qvc", ParseMode::kOptimal, report, error));
    return error;
  }

  void ExpectNothingLeft() {
    EXPECT_EQ(qv_test::ReadBytes(dir_ / "out.qvc"), Bytes({'p', 'r', 'e', 'v', 'i', 'o', 'u', 's', ' ',
                                                            'c', 'o', 'n', 't', 'a', 'i', 'n', 'e', 'r'}));
    std::vector<std::string> names = qv_test::ListFolder(dir_.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"out.qvc", "src"}));
  }

  qv_test::ScratchDir dir_;
  std::vector<qv::ManifestEntry> entries_;
};

TEST_F(FailedBuild, VanishedSourceLeavesThePreviousContainer) {
  std::filesystem::remove(dir_ / "src/b");
  EXPECT_NE(Build().find("m.txt:2: cannot read"), std::string::npos);
  ExpectNothingLeft();
}

TEST_F(FailedBuild, ArchiveOf4GiBIsRefusedBeforeReading) {
  // Sparse: the size check must come before any byte is read.
  const uint64_t directoryBytes = qv::kDirectorySizeFieldSize + 2 * qv::kEntrySize;
  ASSERT_EQ(truncate((dir_ / "src/b").c_str(), static_cast<off_t>((uint64_t{1} << 32) - directoryBytes - 4)),
            0);
  EXPECT_NE(Build().find("m.txt:2: with this entry the decoded archive reaches 4 GiB"),
            std::string::npos);
  ExpectNothingLeft();
}

TEST_F(FailedBuild, MissingOutputFolderIsNamed) {
  qv::PackReport report;
  std::string error;
  EXPECT_FALSE(qv::WriteContainer(entries_, dir_ / "no/out.qvc", ParseMode::kOptimal, report, error));
  EXPECT_NE(error.find("no/out.qvc: cannot create"), std::string::npos) << error;
}

}  // namespace
