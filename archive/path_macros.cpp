#include "archive/path_macros.h"

namespace qv {

namespace {

const std::u16string kInstallPathMacro = u"<InstallPath>";
const std::u16string kSamplePathMacro = u"<SamplePath>";
const std::u16string kCommonDesktopMacro = u"<CommonDesktop>";

// A value that names its own macro would grow the path on every pass; no
// real path survives these bounds, so they only stop malformed input.
constexpr int kMaxPasses = 64;
constexpr size_t kMaxExpandedUnits = 32768;

void ReplaceAll(std::u16string& text, const std::u16string& token, const std::u16string& value) {
  std::u16string result;
  size_t from = 0;
  for (size_t at = text.find(token); at != std::u16string::npos; at = text.find(token, from)) {
    result.append(text, from, at - from);
    result += value;
    from = at + token.size();
  }
  result.append(text, from, std::u16string::npos);
  text.swap(result);
}

}  // namespace

std::u16string ExpandPathMacros(const std::u16string& installFolder, const std::u16string& examplesFolder,
                                const std::u16string& path) {
  std::u16string text = path;
  for (int pass = 0; pass < kMaxPasses && text.size() <= kMaxExpandedUnits; ++pass) {
    const size_t open = text.find(u'<');
    if (open == std::u16string::npos) break;
    // The first '>' after the '<': one standing before it cannot close a macro.
    const size_t close = text.find(u'>', open);
    if (close == std::u16string::npos) break;
    const std::u16string token = text.substr(open, close - open + 1);
    std::u16string value;
    if (token == kInstallPathMacro) {
      value = installFolder;
    } else if (token == kSamplePathMacro) {
      if (examplesFolder.empty()) {
        value = kCommonDesktopMacro;
      } else {
        ReplaceAll(text, token, examplesFolder);
        if (IsRelativePath(text)) text = AppendPath(kCommonDesktopMacro, text);
        continue;
      }
    } else if (!LookupFolderMacro(std::u16string_view(token).substr(1, token.size() - 2), &value)) {
      value.clear();
    }
    ReplaceAll(text, token, value);
  }
  return text;
}

}  // namespace qv
