#include "system/text_inserts.h"

namespace qv {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::uint32_t FormatTextInserts(std::u16string_view text, const std::vector<std::u16string>& arguments,
                                std::u16string& out) {
  out.clear();
  if (text.empty()) return kHresultInvalidArg;
  std::u16string result;
  size_t at = 0;
  while (at < text.size()) {
    char16_t c = text[at++];
    if (c != u'%' || at == text.size()) {
      result += c;
      continue;
    }
    char16_t next = text[at++];
    if (next == u'0') break;
    if (IsDigit(next)) {
      size_t number = next - u'0';
      if (at < text.size() && IsDigit(text[at])) number = number * 10 + (text[at++] - u'0');
      if (at < text.size() && text[at] == u'!') {
        size_t close = text.find(u'!', at + 1);
        if (close == std::u16string_view::npos || text.substr(at + 1, close - at - 1) != u"s") {
          return kErrorInvalidParameter;
        }
        at = close + 1;
      }
      if (number > arguments.size()) return kErrorInvalidParameter;
      result += arguments[number - 1];
      continue;
    }
    switch (next) {
      case u'n': result += u"\r\n"; break;
      case u'r': result += u'\r'; break;
      case u't': result += u'\t'; break;
      default: result += next; break;
    }
  }
  out = std::move(result);
  return 0;
}

}  // namespace qv
