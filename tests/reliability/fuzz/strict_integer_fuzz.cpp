// Fuzz target: ParseStrictInteger in bases 10 and 16, checked against the C
// library's conversion wherever the text is plain ASCII.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "system/strict_integer.h"
#include "tests/reliability/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int base = (data[0] & 1) ? 16 : 10;
  const std::u16string text = qv::fuzz::Utf16Units(data + 1, size - 1);
  bool notWhole = false;
  const int32_t value = qv::ParseStrictInteger(text, base, &notWhole);

  std::string ascii;
  for (char16_t c : text) {
    if (c == 0 || c > 0x7F) return 0;
    ascii += static_cast<char>(c);
  }
  char* end = nullptr;
  errno = 0;
  const long long wide = std::strtoll(ascii.c_str(), &end, base);
  const bool rangeError = errno == ERANGE || wide > INT32_MAX || wide < INT32_MIN;
  bool trailing = false;
  for (const char* p = end; *p != '\0'; ++p) {
    if (*p != ' ' && (*p < '\t' || *p > '\r')) trailing = true;
  }
  const bool noDigits = end == ascii.c_str();
  qv::fuzz::Require(notWhole == (rangeError || trailing || noDigits), "whole-number flag as the C library reads it");
  if (!rangeError) qv::fuzz::Require(value == wide, "value as the C library reads it");
  if (rangeError) qv::fuzz::Require(value == (wide < 0 ? INT32_MIN : INT32_MAX), "out of range gives the nearest limit");
  return 0;
}
