#include "wizard/frame_layout.h"

#include <gtest/gtest.h>

namespace {

using qv::LayoutRect;
using qv::LayoutSize;

// A frame client of 400x200 with a 100-wide left panel and the separator at y 170:
// the page area is 300x170 at (100, 0).
const LayoutRect kClient{0, 0, 400, 200};
const LayoutRect kPanel{-5, 0, 100, 170};
const LayoutRect kSeparator{2, 170, 400, 172};

TEST(FrameLayout, PagesSmallerThanTheAreaKeepTheFrameSizeAndAreStretchedToTheArea) {
  const qv::FrameLayout l = qv::ComputeFrameLayout(kClient, kPanel, kSeparator,
                                                   {LayoutSize{250, 120}, LayoutSize{10, 10}});
  EXPECT_EQ(l.pageRect, (LayoutRect{100, 0, 400, 170}));
  EXPECT_EQ(l.dx, 0);
  EXPECT_EQ(l.dy, 0);
}

TEST(FrameLayout, FrameGrowsByWhatTheWidestAndTallestPagesExceed) {
  // The widest page and the tallest page are different pages: both growths apply.
  const qv::FrameLayout l = qv::ComputeFrameLayout(
      kClient, kPanel, kSeparator, {LayoutSize{340, 100}, LayoutSize{200, 190}, LayoutSize{300, 170}});
  EXPECT_EQ(l.pageRect, (LayoutRect{100, 0, 440, 190}));
  EXPECT_EQ(l.dx, 40);
  EXPECT_EQ(l.dy, 20);
}

TEST(FrameLayout, NoPagesLeaveThePageArea) {
  const qv::FrameLayout l = qv::ComputeFrameLayout(kClient, kPanel, kSeparator, {});
  EXPECT_EQ(l.pageRect, (LayoutRect{100, 0, 400, 170}));
  EXPECT_EQ(l.dx, 0);
  EXPECT_EQ(l.dy, 0);
}

struct AnchorCase {
  unsigned anchor;
  LayoutRect expected;
};

class Anchor : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(Anchor, MovesOnlyTheEdgesItNames) {
  const LayoutRect r{10, 20, 110, 40};
  EXPECT_EQ(qv::ApplyAnchor(r, GetParam().anchor, 7, 3), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Anchor,
    ::testing::Values(AnchorCase{qv::ANCHOR_NONE, {10, 20, 110, 40}},
                      AnchorCase{qv::ANCHOR_WIDEN, {10, 20, 117, 40}},
                      AnchorCase{qv::ANCHOR_MOVE_RIGHT, {17, 20, 117, 40}},
                      AnchorCase{qv::ANCHOR_TALLER, {10, 20, 110, 43}},
                      AnchorCase{qv::ANCHOR_MOVE_DOWN, {10, 23, 110, 43}},
                      // The separator line: wider and lower.
                      AnchorCase{qv::ANCHOR_WIDEN | qv::ANCHOR_MOVE_DOWN, {10, 23, 117, 43}},
                      // The log box: wider and taller.
                      AnchorCase{qv::ANCHOR_WIDEN | qv::ANCHOR_TALLER, {10, 20, 117, 43}},
                      AnchorCase{qv::ANCHOR_MOVE_RIGHT | qv::ANCHOR_MOVE_DOWN, {17, 23, 117, 43}}));

}  // namespace
