#include <windows.h>

#include <cwchar>

#include "archive/payload_copy.h"
#include "system/utf16.h"

namespace qv {

namespace {

constexpr WORD kPayloadResourceName = 134;
constexpr WORD kPayloadResourceType = 260;
// GetTempFileName appends up to 14 units to the folder.
constexpr DWORD kMaxTempFolderUnits = 246;

bool Fail(const wchar_t* label, std::u16string& errorText) {
  const DWORD error = GetLastError();
  wchar_t text[64];
  swprintf(text, 64, L"%08x (%ls)", static_cast<unsigned>(error), label);
  errorText = FromWide(text);
  return false;
}

}  // namespace

bool CopyPayloadToTempFile(std::u16string& payloadTempFile, std::u16string& errorText) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(kPayloadResourceName),
                                 MAKEINTRESOURCEW(kPayloadResourceType));
  if (resource == nullptr) return Fail(L"FindResource", errorText);
  const DWORD size = SizeofResource(nullptr, resource);
  if (size == 0) return Fail(L"SizeofResource", errorText);
  HGLOBAL loaded = LoadResource(nullptr, resource);
  if (loaded == nullptr) return Fail(L"LoadResource", errorText);
  const void* data = LockResource(loaded);
  if (data == nullptr) return Fail(L"LockResource", errorText);

  wchar_t folder[MAX_PATH];
  const DWORD folderLength = GetTempPathW(MAX_PATH, folder);
  if (folderLength == 0 || folderLength > kMaxTempFolderUnits) return Fail(L"GetTempPath", errorText);
  wchar_t name[MAX_PATH];
  if (GetTempFileNameW(folder, L"qv", 0, name) == 0) return Fail(L"GetTempFileName", errorText);

  HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Fail(L"CreateFile", errorText);
    DeleteFileW(name);
    return false;
  }
  DWORD written = 0;
  const BOOL ok = WriteFile(file, data, size, &written, nullptr);
  if (!ok || written != size) {
    // A short write without an error code would still leave a partial copy.
    if (ok) SetLastError(ERROR_WRITE_FAULT);
    Fail(L"WriteFile", errorText);
    CloseHandle(file);
    DeleteFileW(name);
    return false;
  }
  CloseHandle(file);
  payloadTempFile = FromWide(name);
  return true;
}

}  // namespace qv
