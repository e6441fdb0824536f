#include "install/extract_decision.h"

#include <gtest/gtest.h>

#include "app/setup_state.h"
#include "archive/archive_format.h"

namespace qv {
namespace {

struct DecisionCase {
  const char* name;
  std::uint32_t kind;
  std::int32_t previous;
  bool installedBefore;
  bool exists;
  EntryAction action;
};

class DecideEntryTest : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(DecideEntryTest, KeepsUserFilesAndSkipsWhatAnUpdateMustNotTouch) {
  const DecisionCase& c = GetParam();
  EXPECT_EQ(static_cast<int>(DecideEntry(c.kind, c.previous, c.installedBefore, c.exists)),
            static_cast<int>(c.action))
      << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DecideEntryTest,
    ::testing::Values(
        DecisionCase{"plain file over an existing one", ENTRY_KIND_FILE, PREVIOUS_SAME, true, true, EntryAction::Write},
        DecisionCase{"program", ENTRY_KIND_PROGRAM, PREVIOUS_OLDER, true, true, EntryAction::Write},
        DecisionCase{"unknown kind", 77, PREVIOUS_OLDER, false, false, EntryAction::Write},
        DecisionCase{"kept file of the earlier installation", ENTRY_KIND_KEEP_EXISTING, PREVIOUS_OLDER, true, true,
                     EntryAction::KeepInstalled},
        DecisionCase{"kept file listed but no earlier installation", ENTRY_KIND_KEEP_EXISTING, PREVIOUS_NONE, true,
                     true, EntryAction::KeepExisting},
        DecisionCase{"user's file on a first installation", ENTRY_KIND_KEEP_EXISTING, PREVIOUS_NONE, false, true,
                     EntryAction::KeepExisting},
        DecisionCase{"kept file missing", ENTRY_KIND_KEEP_EXISTING, PREVIOUS_SAME, false, false, EntryAction::Write},
        DecisionCase{"not on update, update", ENTRY_KIND_NOT_ON_UPDATE, PREVIOUS_OLDER, true, true, EntryAction::Skip},
        DecisionCase{"not on update, reinstallation", ENTRY_KIND_NOT_ON_UPDATE, PREVIOUS_SAME, true, true,
                     EntryAction::Write},
        DecisionCase{"not on update, first installation", ENTRY_KIND_NOT_ON_UPDATE, PREVIOUS_NONE, false, false,
                     EntryAction::Write}));

TEST(ProgressPositionTest, ReachesTheEndOnlyWithTheLastByte) {
  EXPECT_EQ(ProgressPosition(123, 0), 0) << "directory not read yet";
  EXPECT_EQ(ProgressPosition(0, 1000), 0);
  EXPECT_EQ(ProgressPosition(5, 1000), 1) << "rounded half up";
  EXPECT_EQ(ProgressPosition(4, 1000), 0);
  EXPECT_EQ(ProgressPosition(500, 1000), 50);
  EXPECT_EQ(ProgressPosition(4294967295u, 4294967295u), 100);
  EXPECT_EQ(ProgressPosition(4294967294u, 4294967295u), 99);
  EXPECT_EQ(ProgressPosition(995, 1000), 99);
  EXPECT_EQ(ProgressPosition(1000, 1000), 100);
}

}  // namespace
}  // namespace qv
