#include "system/message_box_style.h"

namespace qv {

unsigned StandardMessageBoxStyle(unsigned style) {
  if ((style & kBoxIconMask) != 0) return style;
  switch (style & kBoxButtonMask) {
    case kBoxOk:
    case kBoxOkCancel: return style | kBoxIconExclamation;
    case kBoxYesNo:
    case kBoxYesNoCancel: return style | kBoxIconQuestion;
    default: return style;
  }
}

}  // namespace qv
