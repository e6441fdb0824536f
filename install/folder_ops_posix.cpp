#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "install/folder_ops.h"
#include "system/file_io.h"
#include "system/utf16.h"

namespace qv {
namespace {

std::string NativePath(const std::u16string& path) {
  std::string out = Utf16ToUtf8(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

bool Result(int rc) {
  if (rc == 0) {
    SetLastFileError(kErrorSuccess);
    return true;
  }
  switch (errno) {
    case ENOENT: SetLastFileError(kErrorPathNotFound); break;
    case EEXIST: SetLastFileError(kErrorAlreadyExists); break;
    case ENOTEMPTY: SetLastFileError(kErrorDirNotEmpty); break;
    default: SetLastFileError(kErrorAccessDenied); break;
  }
  return false;
}

}  // namespace

bool IsFolderAt(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  struct stat st;
  return stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateOneFolder(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  return Result(mkdir(NativePath(path).c_str(), 0755));
}

bool RemoveEmptyFolder(const std::u16string& path) {
  if (!FileOperationAllowed()) return false;
  return Result(rmdir(NativePath(path).c_str()));
}

}  // namespace qv
