#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "install/folder_ops.h"
#include "system/file_io.h"
#include "system/utf16.h"

namespace qv {

bool IsFolderAt(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  return PathIsDirectoryW(AsWide(path)) != FALSE;
}

bool CreateOneFolder(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  if (!CreateDirectoryW(AsWide(path), nullptr)) return false;
  SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHW, AsWide(path), nullptr);
  return true;
}

bool RemoveEmptyFolder(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  return RemoveDirectoryW(AsWide(path)) != FALSE;
}

}  // namespace qv
