#pragma once
// The items of a file's version resource.
#include <cstdint>
#include <string>

namespace qv {

enum : uint32_t {
  VI_DISPLAY_TEXT = 0x01,
  VI_PRODUCT_NAME = 0x02,
  VI_PRODUCT_VERSION = 0x04,
  VI_FILE_DESCRIPTION = 0x08,
  VI_LEGAL_COPYRIGHT = 0x10,
  VI_FILE_VERSION = 0x20,
  VI_FILE_FLAGS = 0x40,
  VI_ALL = 0xFFFFFFFF,
};

// Build flags of the fixed information.
enum : uint32_t {
  VERSION_FLAG_DEBUG = 0x01,
  VERSION_FLAG_PRERELEASE = 0x02,
  VERSION_FLAG_PRIVATE_BUILD = 0x08,
};

// a.b.c.d from the fixed information's two halves: a << 48 | b << 32 | c << 16 | d.
uint64_t PackFileVersion(uint32_t versionMs, uint32_t versionLs);
// " - Private" and then " - Debug", each when its flag is set.
std::u16string BuildFlagSuffix(uint32_t maskedFlags);
// The string-table key of a translation: language then code page, "040904B0".
std::u16string TranslationKey(uint16_t language, uint16_t codePage);

class CFileVersionInfo {
 public:
  uint32_t flags = 0;
  uint64_t fileVersion = 0;
  uint32_t fileFlags = 0;
  std::u16string displayText;
  std::u16string productName;
  std::u16string productVersion;
  std::u16string fileDescription;
  std::u16string legalCopyright;

  // Null reads the running program's own file; a path of 260 characters or more is
  // not read. True when every requested item was found; the items found are filled
  // either way. Windows only.
  bool Read(const char16_t* path);
};

}  // namespace qv
