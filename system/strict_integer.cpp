#include "system/strict_integer.h"

#include <limits>

namespace qv {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int DigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 99;
}

}  // namespace

std::int32_t ParseStrictInteger(std::u16string_view text, int base, bool* notWhole) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  size_t at = 0;
  while (at < text.size() && IsSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) negative = text[at++] == u'-';
  if (base == 16 && at + 2 < text.size() && text[at] == u'0' &&
      (text[at + 1] == u'x' || text[at + 1] == u'X') && DigitValue(text[at + 2]) < 16) {
    at += 2;
  }
  bool digits = false;
  bool overflow = false;
  std::int64_t magnitude = 0;
  for (; at < text.size() && DigitValue(text[at]) < base; ++at) {
    digits = true;
    // Stop growing once past the range; the rest of the digits are still read.
    if (magnitude <= kMax + 1) magnitude = magnitude * base + DigitValue(text[at]);
    if (magnitude > kMax + 1) overflow = true;
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  if (value > kMax) {
    value = kMax;
    overflow = true;
  } else if (value < kMin) {
    value = kMin;
    overflow = true;
  }
  bool trailing = false;
  for (; at < text.size(); ++at) {
    if (!IsSpace(text[at])) trailing = true;
  }
  if (notWhole) *notWhole = overflow || !digits || trailing;
  return static_cast<std::int32_t>(value);
}

}  // namespace qv
