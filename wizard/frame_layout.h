#pragma once
// The wizard frame's sizing rule: every page is stretched to one common page rectangle,
// and the frame grows (never shrinks) by what that rectangle exceeds its page area.
#include <vector>

namespace qv {

struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const LayoutRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct LayoutSize {
  int width = 0;
  int height = 0;
};

struct FrameLayout {
  LayoutRect pageRect;  // U: where every page ends up, in client coordinates
  int dx = 0;           // growth of the frame, both zero or positive
  int dy = 0;
};

// `client` is the frame's client rectangle; the page area lies right of the left panel
// and above the separator line.
FrameLayout ComputeFrameLayout(const LayoutRect& client, const LayoutRect& leftPanel,
                               const LayoutRect& separator, const std::vector<LayoutSize>& pages);

// How a control follows a growth of its dialog by (dx, dy).
enum AnchorFlags : unsigned {
  ANCHOR_NONE = 0,
  ANCHOR_WIDEN = 1,       // right edge + dx
  ANCHOR_MOVE_RIGHT = 2,  // both horizontal edges + dx
  ANCHOR_TALLER = 4,      // bottom edge + dy
  ANCHOR_MOVE_DOWN = 8,   // both vertical edges + dy
};

LayoutRect ApplyAnchor(LayoutRect rect, unsigned anchor, int dx, int dy);

}  // namespace qv
