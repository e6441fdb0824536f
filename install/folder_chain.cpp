#include "install/folder_chain.h"

namespace qv {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

std::vector<std::u16string> FolderChainPrefixes(const std::u16string& path) {
  std::u16string text = path.substr(0, kMaxPathChars);
  while (!text.empty() && IsSeparator(text.back())) text.pop_back();
  std::vector<std::u16string> prefixes;
  // The first component (drive, or the empty name before a leading separator) is skipped.
  std::size_t end = 0;
  while (end < text.size() && !IsSeparator(text[end])) ++end;
  while (end < text.size()) {
    ++end;
    while (end < text.size() && IsSeparator(text[end])) ++end;
    if (end == text.size()) break;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    prefixes.push_back(text.substr(0, end));
  }
  return prefixes;
}

std::u16string PathWithoutFileName(const std::u16string& path) {
  const std::u16string text = path.substr(0, kMaxPathChars);
  const std::size_t slash = text.find_last_of(u"\\/");
  if (slash == std::u16string::npos) return std::u16string();
  const bool root = slash == 0 || (slash == 2 && text[1] == u':');
  return text.substr(0, root ? slash + 1 : slash);
}

}  // namespace qv
