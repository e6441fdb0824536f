#include "install/shortcut_paths.h"

#include "install/folder_chain.h"

namespace qv {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The last component, as the shell finds it: a trailing separator stays with it.
std::u16string FileNameOf(const std::u16string& path) {
  std::size_t end = path.size();
  if (end > 0 && IsSeparator(path[end - 1])) --end;
  std::size_t start = end;
  while (start > 0 && !IsSeparator(path[start - 1]) && path[start - 1] != u':') --start;
  return path.substr(start, end - start);
}

std::u16string WithoutExtension(const std::u16string& name) {
  const std::size_t dot = name.find_last_of(u'.');
  return dot == std::u16string::npos ? name : name.substr(0, dot);
}

}  // namespace

bool BuildShortcutPaths(const std::u16string* displayName, const std::u16string& target,
                        const std::u16string& folder, ShortcutPaths* paths) {
  if (target.empty()) return false;
  ShortcutPaths result;
  result.workingFolder = PathWithoutFileName(target);

  std::u16string name = displayName != nullptr ? *displayName : WithoutExtension(FileNameOf(target));
  if (name.empty()) return false;
  while (!name.empty() && IsSeparator(name.front())) name.erase(0, 1);

  std::u16string link = folder;
  if (!link.empty() && !IsSeparator(link.back())) link += u'\\';
  link += name;
  link += u".lnk";
  if (link.size() > kMaxPathChars) return false;
  result.linkPath = std::move(link);
  *paths = std::move(result);
  return true;
}

}  // namespace qv
