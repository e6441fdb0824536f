#include "tools/qvpack/manifest.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

#include "archive/archive_format.h"
#include "system/utf16.h"

namespace qv {

namespace {

struct KindName {
  const char* name;
  uint32_t kind;
};

constexpr KindName kKinds[] = {
    {"file", ENTRY_KIND_FILE},
    {"program", ENTRY_KIND_PROGRAM},
    {"uninstaller", ENTRY_KIND_UNINSTALLER},
    {"keep-existing", ENTRY_KIND_KEEP_EXISTING},
    {"not-on-update", ENTRY_KIND_NOT_ON_UPDATE},
};

// The folder macros setup.exe expands; anything else would expand to nothing.
constexpr const char16_t* kMacros[] = {
    u"<InstallPath>",   u"<SamplePath>",      u"<ProgramFiles>", u"<ProgramCommon>",
    u"<CommonData>",    u"<UserData>",        u"<CommonDocuments>", u"<Documents>",
    u"<CommonDesktop>", u"<Desktop>",         u"<WinDir>",       u"<System>",
};

constexpr char16_t kForbidden[] = u"<>:\"|?*";

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

bool IsComment(const std::string& line) {
  size_t first = line.find_first_not_of(" \t");
  return first != std::string::npos && line[first] == '#';
}

std::string ListKinds() {
  std::string names;
  for (const KindName& k : kKinds) {
    if (!names.empty()) names += ", ";
    names += k.name;
  }
  return names;
}

// Windows compares file names without regard to case.
std::u16string FoldCase(const std::u16string& path) {
  std::u16string folded = path;
  for (char16_t& c : folded) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c == u'/') c = u'\\';
  }
  return folded;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (!name.empty() && name[0] == '/') return name;
  if (dir.empty()) return name;
  return dir + "/" + name;
}

}  // namespace

std::string CheckDestination(const std::u16string& destination) {
  if (destination.empty()) return "destination is empty";
  if (destination.size() > kMaxPathUnits) {
    return "destination is " + std::to_string(destination.size()) + " UTF-16 units long; at most " +
           std::to_string(kMaxPathUnits) + " fit";
  }
  size_t macroLength = 0;
  for (const char16_t* macro : kMacros) {
    std::u16string_view m(macro);
    if (destination.compare(0, m.size(), m) == 0) macroLength = m.size();
  }
  if (macroLength == 0 || destination.size() <= macroLength + 1 ||
      destination[macroLength] != u'\\') {
    return "destination must begin with a folder macro and a backslash, e.g. <InstallPath>\\name";
  }
  std::u16string rest = destination.substr(macroLength + 1);
  for (char16_t c : rest) {
    if (c < 0x20 || std::u16string_view(kForbidden).find(c) != std::u16string_view::npos) {
      return "destination holds a character that Windows file names cannot hold (code " +
             std::to_string(static_cast<unsigned>(c)) + ")";
    }
  }
  size_t start = 0;
  for (;;) {
    size_t end = rest.find_first_of(u"\\/", start);
    std::u16string part = rest.substr(start, end == std::u16string::npos ? std::u16string::npos
                                                                         : end - start);
    if (part == u"..") return "destination leaves its folder (\"..\")";
    if (part.empty()) return "destination has an empty folder or file name";
    if (end == std::u16string::npos) return std::string();
    start = end + 1;
  }
}

bool ParseManifest(const std::string& text, const std::string& manifestName,
                   const std::string& baseDir, std::vector<ManifestEntry>& entries,
                   std::string& error) {
  entries.clear();
  std::map<std::u16string, std::string> seen;  // folded destination -> origin
  std::vector<std::string> lines = Split(text, '\n');
  if (lines.size() == 1 && lines[0].empty()) lines.clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    const std::string origin = manifestName + ":" + std::to_string(i + 1);
    if (i == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsBlank(line) || IsComment(line)) continue;

    auto fail = [&](const std::string& message) {
      error = origin + ": " + message;
      entries.clear();
      return false;
    };
    if (Utf16ToUtf8(Utf8ToUtf16(line)) != line) return fail("line is not valid UTF-8");
    std::vector<std::string> fields = Split(line, '\t');
    if (fields.size() != 4) {
      return fail("expected 4 tab-separated fields (kind, mode, destination, source), found " +
                  std::to_string(fields.size()));
    }
    ManifestEntry entry;
    entry.origin = origin;
    bool kindKnown = false;
    for (const KindName& k : kKinds) {
      if (fields[0] == k.name) {
        entry.kind = k.kind;
        kindKnown = true;
      }
    }
    if (!kindKnown) return fail("unknown kind '" + fields[0] + "' (known: " + ListKinds() + ")");
    if (fields[1] == "compressed") {
      entry.compressed = true;
    } else if (fields[1] != "stored") {
      return fail("unknown mode '" + fields[1] + "' (known: compressed, stored)");
    }
    entry.destination = Utf8ToUtf16(fields[2]);
    std::string problem = CheckDestination(entry.destination);
    if (!problem.empty()) return fail(problem + ": '" + fields[2] + "'");
    if (fields[3].empty()) return fail("source is empty");
    entry.sourcePath = JoinPath(baseDir, fields[3]);

    auto [it, inserted] = seen.emplace(FoldCase(entry.destination), origin);
    if (!inserted) {
      return fail("destination '" + fields[2] + "' is already written by " + it->second);
    }
    entries.push_back(std::move(entry));
  }
  if (entries.empty()) {
    error = manifestName + ": no entries";
    return false;
  }
  return true;
}

bool ReadManifest(const std::string& path, std::vector<ManifestEntry>& entries,
                  std::string& error) {
  entries.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot read the manifest: " + std::strerror(errno);
    return false;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = path + ": cannot read the manifest";
    return false;
  }
  size_t slash = path.rfind('/');
  std::string baseDir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  if (baseDir.size() > 1) baseDir.pop_back();
  if (!ParseManifest(text, path, baseDir, entries, error)) return false;

  for (const ManifestEntry& entry : entries) {
    struct stat info;
    if (stat(entry.sourcePath.c_str(), &info) != 0) {
      error = entry.origin + ": source '" + entry.sourcePath + "' cannot be read: " +
              std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
      error = entry.origin + ": source '" + entry.sourcePath + "' is not a regular file";
    } else if (FILE* file = std::fopen(entry.sourcePath.c_str(), "rb")) {
      std::fclose(file);
      continue;
    } else {
      error = entry.origin + ": source '" + entry.sourcePath + "' cannot be read: " +
              std::strerror(errno);
    }
    entries.clear();
    return false;
  }
  return true;
}

}  // namespace qv
