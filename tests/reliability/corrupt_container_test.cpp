// Damaged containers: each run ends with a status of the engine, and a failed run
// leaves no file and no "qv" temporary. Damage comes from named files, from cutting
// a container at every length, and from seeded random bit flips, each both as is
// (the container checksum must catch it) and resealed with a matching checksum (so
// the damage reaches the decoder and the directory).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "archive/archive_extractor.h"
#include "archive/checksum.h"
#include "tests/archive/archive_builder.h"
#include "tests/reliability/tree_snapshot.h"

namespace qv {
namespace {

using test::Bytes;
using test::TestEntry;

// Resealed damage may turn a destination into any path: entries that would leave
// the installation folder are cancelled, so nothing is written elsewhere.
int32_t CancelOutsideTheFolder(const ExtractEvent* event) {
  if (event->code != EXTRACT_ENTRY_BEGIN) return EXTRACT_CONTINUE;
  const auto& inside = *static_cast<const std::u16string*>(event->owner);
  const std::u16string path = event->entryPath;
  const bool safe = path.size() > inside.size() && path.compare(0, inside.size(), inside) == 0 &&
                    path.find(u"..") == std::u16string::npos;
  return safe ? EXTRACT_CONTINUE : EXTRACT_CANCEL;
}

class CorruptContainerTest : public ::testing::Test {
 protected:
  std::filesystem::path Install() const { return folder.path() / "install"; }

  // Runs the container into an empty installation folder and checks what every
  // run must leave; returns the status (EXTRACT_OK for a finished run).
  int32_t Run(const Bytes& container) {
    const std::filesystem::path path = folder.path() / "payload.bin";
    test::WriteBytes(path, container);
    std::error_code ignored;
    std::filesystem::remove_all(Install(), ignored);
    CArchiveExtractor engine;
    engine.Setup(Install().u16string());
    const std::u16string inside = engine.installFolder + u"\\";
    engine.SetCallback(&CancelOutsideTheFolder, const_cast<std::u16string*>(&inside));
    const bool done = engine.Extract(path.u16string());
    EXPECT_EQ(done, engine.status == EXTRACT_OK);
    EXPECT_TRUE(test::QvTemporariesBelow(folder.path()).empty());
    if (!done) {
      const test::TreeChanges changes = test::CompareTrees({}, test::TakeSnapshot(Install()));
      EXPECT_TRUE(changes.written.empty()) << test::Describe(changes);
    }
    return engine.status;
  }

  static Bytes Reseal(Bytes container) {
    if (container.size() < kContainerHeaderSize) return container;
    const uint32_t sum = ComputeChecksum(container.data() + 4, container.size() - 4);
    for (int i = 0; i < 4; ++i) container[i] = static_cast<uint8_t>(sum >> (8 * i));
    return container;
  }

  test::TempFolder folder;
};

struct CorruptFile {
  const char* name;
  int32_t status;
};

void PrintTo(const CorruptFile& c, std::ostream* os) { *os << c.name; }

class CorruptFileTest : public CorruptContainerTest, public ::testing::WithParamInterface<CorruptFile> {};

TEST_P(CorruptFileTest, EndsWithItsStatusAndLeavesNothing) {
  const Bytes container = test::ReadBytes(std::filesystem::path(QV_TEST_DATA_DIR) / "corrupt" / GetParam().name);
  ASSERT_FALSE(container.empty()) << "missing fixture";
  EXPECT_EQ(Run(container), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CorruptFileTest,
    ::testing::Values(CorruptFile{"checksum_field_cut.bin", EXTRACT_ERR_ARCHIVE},
                      CorruptFile{"checksum_of_nothing.bin", EXTRACT_ERR_TRUNCATED},
                      CorruptFile{"checksum_bit_flipped.bin", EXTRACT_ERR_ARCHIVE},
                      CorruptFile{"directory_size_field_cut.bin", EXTRACT_ERR_TRUNCATED},
                      CorruptFile{"directory_size_not_whole_entries.bin", EXTRACT_ERR_ARCHIVE},
                      CorruptFile{"directory_size_zero_entries.bin", EXTRACT_ERR_ARCHIVE},
                      CorruptFile{"directory_size_beyond_stream.bin", EXTRACT_ERR_ARCHIVE},
                      CorruptFile{"path_without_terminator.bin", EXTRACT_ERR_ARCHIVE},
                      CorruptFile{"entry_sizes_overflow.bin", EXTRACT_ERR_ARCHIVE},
                      CorruptFile{"stream_ends_inside_token.bin", EXTRACT_ERR_TRUNCATED},
                      CorruptFile{"stream_ends_in_stored_data.bin", EXTRACT_ERR_TRUNCATED},
                      CorruptFile{"stream_ends_in_directory.bin", EXTRACT_ERR_TRUNCATED},
                      CorruptFile{"entry_checksum_wrong.bin", EXTRACT_ERR_VERIFY},
                      CorruptFile{"match_beyond_written_window.bin", EXTRACT_ERR_VERIFY},
                      CorruptFile{"bytes_after_the_last_entry.bin", EXTRACT_OK},
                      CorruptFile{"stored_entry_before_compressed.bin", EXTRACT_ERR_VERIFY}),
    [](const ::testing::TestParamInfo<CorruptFile>& info) {
      std::string name = info.param.name;
      return name.substr(0, name.find('.'));
    });

std::vector<TestEntry> SmallPayload() {
  return {{u"<InstallPath>\\a.txt", test::PatternBytes(40, 7)},
          {u"<InstallPath>\\sub\\empty", {}},
          {u"<InstallPath>\\b.bin", test::PatternBytes(30, 8), false}};
}

TEST_F(CorruptContainerTest, CutAtEveryLengthFailsCleanly) {
  const Bytes whole = test::BuildContainer(SmallPayload());
  ASSERT_EQ(Run(whole), EXTRACT_OK);
  for (size_t length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE("cut to " + std::to_string(length) + " of " + std::to_string(whole.size()) + " bytes");
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_EQ(Run(cut), EXTRACT_ERR_ARCHIVE);
    if (length >= kContainerHeaderSize) {
      const int32_t status = Run(Reseal(cut));
      EXPECT_TRUE(status == EXTRACT_ERR_TRUNCATED || status == EXTRACT_ERR_ARCHIVE) << "status " << status;
    }
    if (HasFailure()) break;
  }
}

std::vector<TestEntry> LargerPayload() {
  std::vector<TestEntry> entries;
  for (int i = 0; i < 6; ++i) {
    entries.push_back({u"<InstallPath>\\f" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u".bin",
                       test::PatternBytes(200 + 150 * i, 20 + i), i < 4});
  }
  entries[2].path = u"<InstallPath>\\deep\\er\\f2.bin";
  entries[3].verified = false;
  return entries;
}

#ifdef _WIN32
constexpr int kFlips = 300;  // every run costs a few milliseconds of system calls under Wine
#else
constexpr int kFlips = 2000;
#endif

TEST_F(CorruptContainerTest, RandomBitFlipsEndWithAStatusAndLeaveNoFile) {
  const Bytes whole = test::BuildContainer(LargerPayload());
  ASSERT_EQ(Run(whole), EXTRACT_OK);
  constexpr uint32_t kSeed = 0x5EED0001;
  std::mt19937 random(kSeed);
  for (int flip = 0; flip < kFlips; ++flip) {
    const size_t at = random() % whole.size();
    const int bit = static_cast<int>(random() % 8);
    SCOPED_TRACE("seed " + std::to_string(kSeed) + ", flip " + std::to_string(flip) + ": byte " +
                 std::to_string(at) + " bit " + std::to_string(bit));
    Bytes damaged = whole;
    damaged[at] ^= static_cast<uint8_t>(1u << bit);
    // A single flipped bit always changes the 33-multiplier checksum.
    EXPECT_EQ(Run(damaged), EXTRACT_ERR_ARCHIVE);
    // Resealed, a flip in a path's padding, a kind or unverified data may finish.
    if (at >= kContainerHeaderSize) Run(Reseal(damaged));
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace qv
