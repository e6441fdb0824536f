#include "system/named_objects.h"

namespace qv {

std::u16string GlobalObjectPrefixFor(unsigned long platformId, unsigned long majorVersion) {
  const unsigned long kPlatformNt = 2;
  return platformId == kPlatformNt && majorVersion >= 5 ? u"Global\\" : u"";
}

}  // namespace qv
