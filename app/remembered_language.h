#pragma once
// The language index that the last installation remembered ("QvLanguage").
#ifdef _WIN32
#include <cstdint>
#include <optional>

namespace qv {

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\" + the product folder name,
// under HKEY_LOCAL_MACHINE.
const wchar_t* ProductUninstallKeyPrefix();

// The 4-byte value "QvLanguage" of the product's Uninstall key; nothing when it is
// missing or cannot be read into 4 bytes.
std::optional<std::uint32_t> ReadRememberedLanguage();

}  // namespace qv
#endif
