#pragma once
// Text ids and the string resources that hold them in each language.
// A text id is the resource id of the French text; "#" marks an untranslated entry.
#include <cstdint>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "app/text_table.h"

namespace qv {


// The resource id to load for textId in the language: a language without installer
// texts reads English; a "#" entry falls back to English, then to French.
unsigned LookupTextId(const TextTable& table, int languageIndex, unsigned textId);
// Empty when the resource does not exist.
std::u16string LoadText(const TextTable& table, int languageIndex, unsigned textId);
// LoadText(1000), with the product: followed by " -- " and the product name with version.
std::u16string GetSetupTitle(const TextTable& table, int languageIndex, bool withProduct);
// The text of textId with its inserts filled. Returns 0, E_FAIL for a text that cannot
// be loaded, E_INVALIDARG for an empty one, or the insert error (out is then empty).
std::uint32_t FormatTextInserts(const TextTable& table, int languageIndex, unsigned textId,
                                const std::vector<std::u16string>& arguments, std::u16string& out);

}  // namespace qv
