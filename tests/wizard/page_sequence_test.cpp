#include "wizard/page_sequence.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using qv::CancelLabel;
using qv::NextLabel;

struct RequestCase {
  int current;
  int requested;
  bool customMode;
  int shown;
};

void PrintTo(const RequestCase& c, std::ostream* os) {
  *os << c.current << " -> " << c.requested << (c.customMode ? " custom" : " quick") << " shows "
      << c.shown;
}

class PageRequest : public ::testing::TestWithParam<RequestCase> {};

TEST_P(PageRequest, QuickModeStepsOverFolderAndShortcutsInTheDirectionOfTravel) {
  const RequestCase& c = GetParam();
  EXPECT_EQ(qv::ResolvePageRequest(c.current, c.requested, c.customMode), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Sequence, PageRequest,
    ::testing::Values(
        // First page of the run: nothing is shown yet.
        RequestCase{qv::NO_PAGE, qv::PAGE_LANGUAGE, false, qv::PAGE_LANGUAGE},
        RequestCase{qv::PAGE_LANGUAGE, qv::PAGE_MODE, false, qv::PAGE_MODE},
        // Quick mode: mode <-> progress in both directions.
        RequestCase{qv::PAGE_MODE, qv::PAGE_FOLDER, false, qv::PAGE_PROGRESS},
        RequestCase{qv::PAGE_PROGRESS, qv::PAGE_SHORTCUTS, false, qv::PAGE_MODE},
        // Custom mode shows every page.
        RequestCase{qv::PAGE_MODE, qv::PAGE_FOLDER, true, qv::PAGE_FOLDER},
        RequestCase{qv::PAGE_FOLDER, qv::PAGE_SHORTCUTS, true, qv::PAGE_SHORTCUTS},
        RequestCase{qv::PAGE_PROGRESS, qv::PAGE_SHORTCUTS, true, qv::PAGE_SHORTCUTS},
        // Quick mode chosen while a custom page is shown: leaving it skips onwards.
        RequestCase{qv::PAGE_FOLDER, qv::PAGE_SHORTCUTS, false, qv::PAGE_PROGRESS},
        RequestCase{qv::PAGE_SHORTCUTS, qv::PAGE_FOLDER, false, qv::PAGE_MODE},
        // Showing the same page again is never redirected.
        RequestCase{qv::PAGE_PROGRESS, qv::PAGE_PROGRESS, false, qv::PAGE_PROGRESS},
        RequestCase{qv::PAGE_FOLDER, qv::PAGE_FOLDER, false, qv::PAGE_FOLDER},
        RequestCase{qv::PAGE_PROGRESS, qv::PAGE_FINISH, false, qv::PAGE_FINISH},
        RequestCase{qv::PAGE_FINISH, qv::PAGE_PROGRESS, false, qv::PAGE_PROGRESS}));

struct ButtonCase {
  int page;
  bool installDone;
  NextLabel next;
  CancelLabel cancel;
  bool backEnabled;
  bool nextEnabled;
  int defaultButton;
};

void PrintTo(const ButtonCase& c, std::ostream* os) {
  *os << "page " << c.page << (c.installDone ? " after" : " before") << " installation";
}

class ButtonRules : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(ButtonRules, MatchTheStateTableOfThePageSequence) {
  const ButtonCase& c = GetParam();
  const qv::WizardButtons b = qv::ComputeWizardButtons(c.page, c.installDone);
  EXPECT_EQ(b.nextLabel, c.next);
  EXPECT_EQ(b.cancelLabel, c.cancel);
  EXPECT_EQ(b.backEnabled, c.backEnabled);
  EXPECT_EQ(b.nextEnabled, c.nextEnabled);
  EXPECT_EQ(b.defaultButton, c.defaultButton);
}

INSTANTIATE_TEST_SUITE_P(
    StateTable, ButtonRules,
    ::testing::Values(
        ButtonCase{qv::PAGE_LANGUAGE, false, NextLabel::Next, CancelLabel::Cancel, false, true, 1},
        ButtonCase{qv::PAGE_MODE, false, NextLabel::Next, CancelLabel::Cancel, true, true, 1},
        ButtonCase{qv::PAGE_FOLDER, false, NextLabel::Next, CancelLabel::Cancel, true, true, 1},
        ButtonCase{qv::PAGE_SHORTCUTS, false, NextLabel::Next, CancelLabel::Cancel, true, true, 1},
        ButtonCase{qv::PAGE_PROGRESS, false, NextLabel::Install, CancelLabel::Cancel, true, true, 1},
        // After the installation the log can be read again but not gone back from.
        ButtonCase{qv::PAGE_PROGRESS, true, NextLabel::Next, CancelLabel::Exit, false, true, 1},
        // The final page: Enter acts on Exit.
        ButtonCase{qv::PAGE_FINISH, true, NextLabel::Next, CancelLabel::Exit, true, false, 2}));

TEST(NextButton, RunsTheInstallationOnlyOnTheProgressPageBeforeSuccess) {
  EXPECT_TRUE(qv::NextRunsInstallation(qv::PAGE_PROGRESS, false));
  EXPECT_FALSE(qv::NextRunsInstallation(qv::PAGE_PROGRESS, true));
  EXPECT_FALSE(qv::NextRunsInstallation(qv::PAGE_SHORTCUTS, false));
  EXPECT_FALSE(qv::NextRunsInstallation(qv::PAGE_FINISH, true));
}

struct ExitCase {
  bool installDone;
  int32_t previous;
  int page;
  bool asks;
};

void PrintTo(const ExitCase& c, std::ostream* os) {
  *os << "previous " << c.previous << " page " << c.page << (c.installDone ? " done" : "");
}

class ExitQuestion : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitQuestion, IsAskedOnlyWhileAnInstallationIsStillPossibleAndNotDone) {
  const ExitCase& c = GetParam();
  EXPECT_EQ(qv::ExitNeedsConfirmation(c.installDone, c.previous, c.page), c.asks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExitQuestion,
    ::testing::Values(ExitCase{false, qv::PREVIOUS_NONE, qv::PAGE_LANGUAGE, true},
                      ExitCase{false, qv::PREVIOUS_NONE, qv::PAGE_PROGRESS, true},
                      ExitCase{false, qv::PREVIOUS_OLDER, qv::PAGE_LANGUAGE, true},
                      ExitCase{false, qv::PREVIOUS_OLDER, qv::PAGE_SHORTCUTS, true},
                      ExitCase{false, qv::PREVIOUS_SAME, qv::PAGE_LANGUAGE, false},
                      ExitCase{false, qv::PREVIOUS_SAME, qv::PAGE_MODE, true},
                      ExitCase{false, qv::PREVIOUS_NEWER, qv::PAGE_LANGUAGE, false},
                      ExitCase{true, qv::PREVIOUS_NONE, qv::PAGE_PROGRESS, false},
                      ExitCase{true, qv::PREVIOUS_NONE, qv::PAGE_FINISH, false}));

}  // namespace
