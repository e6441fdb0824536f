#include <map>

#include "archive/path_macros.h"

namespace qv {

namespace {

std::map<std::u16string, std::u16string>& Folders() {
  static std::map<std::u16string, std::u16string> folders;
  return folders;
}

// The system macros and the macro whose folder stands in when theirs is unset.
struct MacroName {
  const char16_t* name;
  const char16_t* fallback;
};
constexpr MacroName kSystemMacros[] = {
    {u"ProgramFiles", nullptr},      {u"ProgramCommon", nullptr},
    {u"CommonData", u"UserData"},    {u"UserData", nullptr},
    {u"CommonDocuments", u"Documents"}, {u"Documents", nullptr},
    {u"CommonDesktop", u"Desktop"},  {u"Desktop", nullptr},
    {u"WinDir", nullptr},            {u"System", nullptr},
};

bool Lookup(std::u16string_view name, std::u16string* folder) {
  auto found = Folders().find(std::u16string(name));
  if (found == Folders().end()) return false;
  *folder = found->second;
  return true;
}

}  // namespace

bool LookupFolderMacro(std::u16string_view name, std::u16string* folder) {
  for (const MacroName& macro : kSystemMacros) {
    if (name != macro.name) continue;
    return Lookup(name, folder) || (macro.fallback != nullptr && Lookup(macro.fallback, folder));
  }
  return false;
}

bool IsRelativePath(const std::u16string& path) {
  if (path.empty()) return true;
  if (path[0] == u'\\' || path[0] == u'/') return false;
  return !(path.size() >= 2 && path[1] == u':');
}

std::u16string AppendPath(const std::u16string& base, const std::u16string& more) {
  size_t skip = 0;
  while (skip < more.size() && more[skip] == u'\\') ++skip;
  std::u16string result = base;
  if (!result.empty() && result.back() != u'\\') result += u'\\';
  result.append(more, skip, std::u16string::npos);
  return result;
}

void SetMacroFolder(const std::u16string& name, const std::u16string& folder) { Folders()[name] = folder; }

void ClearMacroFolders() { Folders().clear(); }

void SetMacroFoldersUnder(const std::u16string& root) {
  std::u16string base = root;
  if (!base.empty() && base.back() != u'/' && base.back() != u'\\') base += u'/';
  for (const MacroName& macro : kSystemMacros) SetMacroFolder(macro.name, base + macro.name);
}

}  // namespace qv
