// Fuzz target: ExpandPathMacros over any installation folder, examples folder
// and path (three UTF-16 texts separated by the unit 0xFFFF). The expansion must
// end; when the folders hold no bracket and the path a handful of macros, no
// whole macro is left.
#include <cstdint>
#include <string>

#include "archive/path_macros.h"
#include "tests/reliability/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
#ifndef _WIN32
  static const bool folders = [] {
    qv::SetMacroFoldersUnder(u"/fuzz");
    // A system folder whose value holds a macro, as a misconfigured system may give.
    qv::SetMacroFolder(u"Desktop", u"<CommonDesktop>\\d");
    return true;
  }();
  (void)folders;
#endif
  std::u16string parts[3];
  size_t part = 0;
  for (char16_t c : qv::fuzz::Utf16Units(data, size)) {
    if (c == 0xFFFF && part < 2) {
      ++part;
    } else {
      parts[part] += c;
    }
  }
  // Bounded like the engine's inputs: folders of 260 units, paths of 260.
  for (std::u16string& text : parts) {
    if (text.size() > 300) text.resize(300);
  }
  const std::u16string result = qv::ExpandPathMacros(parts[0], parts[1], parts[2]);
  const auto count = [](const std::u16string& text, char16_t c) {
    size_t n = 0;
    for (char16_t unit : text) n += unit == c;
    return n;
  };
  const bool plainFolders = count(parts[0] + parts[1], u'<') + count(parts[0] + parts[1], u'>') == 0;
  const size_t open = result.find(u'<');
  if (plainFolders && count(parts[2], u'<') <= 20 && open != std::u16string::npos) {
    qv::fuzz::Require(result.find(u'>', open) == std::u16string::npos, "no whole macro is left unexpanded");
  }
  return 0;
}
