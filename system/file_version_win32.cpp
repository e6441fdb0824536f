#include "system/file_version.h"

#include <windows.h>

#include <memory>
#include <new>

#include "system/utf16.h"

namespace qv {

namespace {

// A string item of the first translation, or false when it is missing.
bool QueryString(void* block, const std::u16string& prefix, const char16_t* item,
                 std::u16string& value) {
  std::u16string query = prefix + item;
  void* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block, AsWide(query), &text, &length) || !text) return false;
  const char16_t* chars = static_cast<const char16_t*>(text);
  // The reported length may count the terminator.
  std::u16string found(chars, length);
  value = found.substr(0, found.find(u'\0'));
  return true;
}

}  // namespace

bool CFileVersionInfo::Read(const char16_t* path) {
  fileVersion = 0;
  if (flags & VI_DISPLAY_TEXT) displayText.clear();
  if (flags & VI_PRODUCT_NAME) productName.clear();
  if (flags & VI_PRODUCT_VERSION) productVersion.clear();
  if (flags & VI_FILE_DESCRIPTION) fileDescription.clear();
  if (flags & VI_LEGAL_COPYRIGHT) legalCopyright.clear();

  wchar_t file[MAX_PATH] = {};
  if (path) {
    // A cut path would name another file.
    std::u16string given(path);
    if (given.size() >= MAX_PATH) return false;
    given.copy(reinterpret_cast<char16_t*>(file), given.size());
  } else if (GetModuleFileNameW(nullptr, file, MAX_PATH) == 0) {
    return false;
  }

  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(file, &handle);
  if (size == 0) return false;
  std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size]());
  if (!block || !GetFileVersionInfoW(file, 0, size, block.get())) return false;

  WORD* translation = nullptr;
  UINT translationLength = 0;
  if (!VerQueryValueW(block.get(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &translationLength) ||
      !translation || translationLength < 2 * sizeof(WORD)) {
    return false;
  }
  const std::u16string prefix =
      u"\\StringFileInfo\\" + TranslationKey(translation[0], translation[1]);

  bool complete = true;
  std::u16string value;
  if (flags & (VI_DISPLAY_TEXT | VI_PRODUCT_NAME)) {
    if (QueryString(block.get(), prefix, u"\\ProductName", value)) {
      if (flags & VI_DISPLAY_TEXT) displayText = value;
      if (flags & VI_PRODUCT_NAME) productName = value;
    } else {
      complete = false;
    }
  }
  if (flags & (VI_DISPLAY_TEXT | VI_PRODUCT_VERSION)) {
    if (QueryString(block.get(), prefix, u"\\ProductVersion", value)) {
      if (flags & VI_DISPLAY_TEXT) displayText += u" " + value;
      if (flags & VI_PRODUCT_VERSION) productVersion = value;
    } else {
      complete = false;
    }
  }
  if (flags & (VI_DISPLAY_TEXT | VI_FILE_VERSION | VI_FILE_FLAGS)) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedLength = 0;
    if (VerQueryValueW(block.get(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength) &&
        fixed && fixedLength >= sizeof(VS_FIXEDFILEINFO)) {
      if (flags & VI_FILE_VERSION) {
        fileVersion = PackFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
      }
      uint32_t masked = fixed->dwFileFlags & fixed->dwFileFlagsMask;
      if (flags & VI_FILE_FLAGS) fileFlags = masked;
      if (flags & VI_DISPLAY_TEXT) displayText += BuildFlagSuffix(masked);
    } else {
      complete = false;
    }
  }
  if ((flags & VI_FILE_DESCRIPTION) &&
      !QueryString(block.get(), prefix, u"\\FileDescription", fileDescription)) {
    complete = false;
  }
  if ((flags & VI_LEGAL_COPYRIGHT) &&
      !QueryString(block.get(), prefix, u"\\LegalCopyright", legalCopyright)) {
    complete = false;
  }
  return complete;
}

}  // namespace qv
