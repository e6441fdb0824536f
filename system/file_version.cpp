#include "system/file_version.h"

namespace qv {

uint64_t PackFileVersion(uint32_t versionMs, uint32_t versionLs) {
  return uint64_t(versionMs) << 32 | versionLs;
}

std::u16string BuildFlagSuffix(uint32_t maskedFlags) {
  std::u16string suffix;
  if (maskedFlags & VERSION_FLAG_PRIVATE_BUILD) suffix += u" - Private";
  if (maskedFlags & VERSION_FLAG_DEBUG) suffix += u" - Debug";
  return suffix;
}

std::u16string TranslationKey(uint16_t language, uint16_t codePage) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string key;
  for (uint16_t part : {language, codePage}) {
    for (int shift = 12; shift >= 0; shift -= 4) key += kDigits[(part >> shift) & 0xF];
  }
  return key;
}

}  // namespace qv
