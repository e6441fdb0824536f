#include "wizard/wizard_page.h"

namespace qv {

LayoutRect ChildRect(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return LayoutRect{r.left, r.top, r.right, r.bottom};
}

void PlaceChild(HWND child, const LayoutRect& rect) {
  ::SetWindowPos(child, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void CWizardPage::LayoutControls(int dx, int dy) {
  for (const auto& [id, anchor] : ControlAnchors()) {
    const HWND control = GetDlgItem(id);
    if (control != nullptr) PlaceChild(control, ApplyAnchor(ChildRect(control), anchor, dx, dy));
  }
}

}  // namespace qv
