#include <windows.h>
#include <imagehlp.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "system/file_io.h"
#include "system/utf16.h"

namespace qv {

namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

uint32_t GetLastFileError() { return GetLastError(); }
void SetLastFileError(uint32_t error) { SetLastError(error); }

bool File::Open(const std::u16string& path, FileAccess access, FileShare share,
                FileDisposition disposition, uint32_t flags) {
  Close();
  if (!FileOperationAllowed()) return false;
  DWORD desired = access == FileAccess::Read    ? GENERIC_READ
                  : access == FileAccess::Write ? GENERIC_WRITE
                                                : GENERIC_READ | GENERIC_WRITE;
  DWORD shareMode = share == FileShare::None   ? 0
                    : share == FileShare::Read ? FILE_SHARE_READ
                                               : FILE_SHARE_READ | FILE_SHARE_WRITE;
  DWORD creation = disposition == FileDisposition::OpenExisting   ? OPEN_EXISTING
                   : disposition == FileDisposition::CreateAlways ? CREATE_ALWAYS
                   : disposition == FileDisposition::OpenAlways   ? OPEN_ALWAYS
                                                                  : CREATE_NEW;
  DWORD attributes = (flags & kFileFlagTemporary) ? FILE_ATTRIBUTE_TEMPORARY : FILE_ATTRIBUTE_NORMAL;
  if (flags & kFileFlagSequentialScan) attributes |= FILE_FLAG_SEQUENTIAL_SCAN;
  HANDLE h = CreateFileW(AsWide(path), desired, shareMode, nullptr, creation, attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(h);
  return true;
}

void File::Close() {
  if (handle_ != kNoHandle) {
    CloseHandle(AsHandle(handle_));
    handle_ = kNoHandle;
  }
}

bool File::Read(void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!FileOperationAllowed()) return false;
  DWORD got = 0;
  if (!ReadFile(AsHandle(handle_), buffer, count, &got, nullptr)) return false;
  *done = got;
  return true;
}

bool File::Write(const void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!FileOperationAllowed()) return false;
  DWORD put = 0;
  if (!WriteFile(AsHandle(handle_), buffer, count, &put, nullptr)) return false;
  *done = put;
  return true;
}

bool File::Seek(uint64_t offset) {
  if (!FileOperationAllowed()) return false;
  LARGE_INTEGER distance;
  distance.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(AsHandle(handle_), distance, nullptr, FILE_BEGIN) != FALSE;
}

bool File::SetEnd() {
  if (!FileOperationAllowed()) return false;
  return SetEndOfFile(AsHandle(handle_)) != FALSE;
}

bool File::GetSize(uint64_t* size) {
  if (!FileOperationAllowed()) return false;
  LARGE_INTEGER value;
  if (!GetFileSizeEx(AsHandle(handle_), &value)) return false;
  *size = static_cast<uint64_t>(value.QuadPart);
  return true;
}

uint32_t GetFileAttributesOf(const std::u16string& path) {
  if (!FileOperationAllowed()) return kInvalidFileAttributes;
  return GetFileAttributesW(AsWide(path));
}

bool SetFileAttributesOf(const std::u16string& path, uint32_t attributes) {
  if (!FileOperationAllowed()) return false;
  // No attribute at all is spelled FILE_ATTRIBUTE_NORMAL.
  return SetFileAttributesW(AsWide(path), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) != FALSE;
}

bool FileExists(const std::u16string& path) {
  return GetFileAttributesOf(path) != kInvalidFileAttributes;
}

bool DeleteFileAt(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  return DeleteFileW(AsWide(path)) != FALSE;
}

bool MoveFileTo(const std::u16string& from, const std::u16string& to) {
  if (!FileOperationAllowed()) return false;
  return MoveFileW(AsWide(from), AsWide(to)) != FALSE;
}

bool CopyFileTo(const std::u16string& from, const std::u16string& to, bool failIfExists) {
  if (!FileOperationAllowed()) return false;
  return CopyFileW(AsWide(from), AsWide(to), failIfExists ? TRUE : FALSE) != FALSE;
}

bool CreateTempFileIn(const std::u16string& folder, const std::u16string& prefix,
                      std::u16string* path) {
  if (!FileOperationAllowed()) return false;
  wchar_t name[MAX_PATH + 1];
  if (GetTempFileNameW(AsWide(folder), AsWide(prefix), 0, name) == 0) return false;
  *path = FromWide(name);
  return true;
}

bool GetTempFolder(std::u16string* folder) {
  if (!FileOperationAllowed()) return false;
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH) return false;
  *folder = FromWide(buffer);
  return true;
}

bool CreateFolderChain(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  const int units = static_cast<int>(path.size()) + 1;
  int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, AsWide(path), units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::vector<char> ansi(static_cast<size_t>(bytes));
  WideCharToMultiByte(CP_THREAD_ACP, 0, AsWide(path), units, ansi.data(), bytes, nullptr, nullptr);
  return MakeSureDirectoryPathExists(ansi.data()) != FALSE;
}

bool FolderOfPath(const std::u16string& path, std::u16string* folder) {
  if (path.size() >= MAX_PATH) return false;
  wchar_t buffer[MAX_PATH];
  lstrcpynW(buffer, AsWide(path), MAX_PATH);
  if (!PathRemoveFileSpecW(buffer)) return false;
  if (PathAddBackslashW(buffer) == nullptr) return false;
  *folder = FromWide(buffer);
  return true;
}

}  // namespace qv
