#include "app/product_texts.h"

namespace qv {

namespace {
// Kept as 8-bit text, as the product's own version strings are.
constexpr char kVersionText[] = "4.05b";
}  // namespace

std::u16string GetProductName(bool withVersion) {
  std::u16string name = u"Vantrel";
  if (withVersion) {
    name += u' ';
    // ASCII only, so widening is the same in every ANSI code page.
    for (const char* c = kVersionText; *c; ++c) name += static_cast<char16_t>(static_cast<unsigned char>(*c));
  }
  return name;
}

std::u16string GetProductFolderName() { return u"Vantrel 4"; }

std::u16string GetMakerFolderName() { return u"Quorvik"; }

}  // namespace qv
