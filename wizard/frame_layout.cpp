#include "wizard/frame_layout.h"

#include <algorithm>

namespace qv {

FrameLayout ComputeFrameLayout(const LayoutRect& client, const LayoutRect& leftPanel,
                               const LayoutRect& separator, const std::vector<LayoutSize>& pages) {
  const LayoutRect area{leftPanel.right, client.top, client.right, separator.top};
  LayoutRect u = area;
  for (const LayoutSize& page : pages) {
    // Each page sits at U's top-left corner, so the union only ever pushes the far edges.
    u.right = std::max(u.right, u.left + page.width);
    u.bottom = std::max(u.bottom, u.top + page.height);
  }
  FrameLayout layout;
  layout.pageRect = u;
  layout.dx = u.Width() - area.Width();
  layout.dy = u.Height() - area.Height();
  return layout;
}

LayoutRect ApplyAnchor(LayoutRect rect, unsigned anchor, int dx, int dy) {
  if (anchor & ANCHOR_MOVE_RIGHT) {
    rect.left += dx;
    rect.right += dx;
  } else if (anchor & ANCHOR_WIDEN) {
    rect.right += dx;
  }
  if (anchor & ANCHOR_MOVE_DOWN) {
    rect.top += dy;
    rect.bottom += dy;
  } else if (anchor & ANCHOR_TALLER) {
    rect.bottom += dy;
  }
  return rect;
}

}  // namespace qv
