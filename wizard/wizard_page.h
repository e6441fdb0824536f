#pragma once
// A page of the wizard: a child dialog that the frame creates once, lays out, fills with
// texts in the current language and shows when its turn comes.
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "wizard/frame_layout.h"
#include "wizard/wizard_context.h"

namespace qv {

class CWizardPage : public CDialog {
 public:
  CWizardPage(UINT templateId, WizardContext& context) : CDialog(templateId), context(context) {}

  // Sets the page's texts in the current language.
  virtual void UpdatePageTexts() = 0;
  // The frame made the page dx pixels wider and dy pixels taller: the page's controls follow
  // by their anchors.
  void LayoutControls(int dx, int dy);

 protected:
  // Control id and anchor (ANCHOR_ flags) of each control that follows the page's size.
  virtual std::vector<std::pair<int, unsigned>> ControlAnchors() const = 0;

  WizardContext& context;
};

// The rectangle of a child window in its parent's client coordinates.
LayoutRect ChildRect(HWND child);
// Moves and sizes a child window to `rect` (parent client coordinates), without redrawing.
void PlaceChild(HWND child, const LayoutRect& rect);

}  // namespace qv
