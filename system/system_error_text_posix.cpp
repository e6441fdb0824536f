#include "system/system_error_text.h"

#include "system/text_inserts.h"

namespace qv {

// Without the system's message tables: the texts of the codes this program shows.
std::u16string GetSystemErrorText(std::uint32_t code, std::uint16_t /*languageId*/) {
  switch (code) {
    case kErrorBusy: return u"The requested resource is in use.";
    case kErrorBadPathname: return u"The specified path is invalid.";
    case kHresultFail: return u"Unspecified error";
    default: return GetSystemErrorText(kHresultFail, 0);
  }
}

}  // namespace qv
