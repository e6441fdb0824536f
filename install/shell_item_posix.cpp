#include "install/shell_item.h"

#include <sys/stat.h>

#include "system/utf16.h"

namespace qv {
namespace {

bool StatPath(const std::u16string& path, struct stat* info) {
  std::string native = Utf16ToUtf8(path);
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return !native.empty() && stat(native.c_str(), info) == 0;
}

}  // namespace

// Without a shell, the same item is the same file system object; like the shell's parse,
// this needs both paths to exist.
bool IsSameShellItem(const std::u16string& a, const std::u16string& b) {
  if (a == b) return true;
  struct stat infoA {};
  struct stat infoB {};
  if (!StatPath(a, &infoA) || !StatPath(b, &infoB)) return false;
  return infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

}  // namespace qv
