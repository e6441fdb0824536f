#pragma once
// The fixed product texts; they are not localised.
#include <string>

namespace qv {

// "Vantrel", or "Vantrel 4.05b" with the version.
std::u16string GetProductName(bool withVersion);
// "Vantrel 4": the product's folder and the name of its Uninstall key.
std::u16string GetProductFolderName();
// "Quorvik": the maker's folder above the product's.
std::u16string GetMakerFolderName();

}  // namespace qv
