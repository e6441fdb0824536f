#pragma once
// The product's entry in the system's list of installed programs, and saving and
// restoring it around an installation.
#include <string>

namespace qv {

// Under HKEY_LOCAL_MACHINE.
constexpr char16_t kUninstallKeyPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr char16_t kProductKeyName[] = u"Vantrel 4";
// REG_SZ in the product key: the installed main program's full path. The key's presence says
// the product is installed; this value, when present, says where its main program is.
constexpr char16_t kInstalledProgramValue[] = u"QvMainProgram";

// Saves the open key (an HKEY) with all subkeys and values to file, which must not exist;
// the backup privilege is on only around the save. A failed save leaves no file behind.
bool SaveProductKey(void* key, const std::u16string& file);

// Puts the product key back from backup (then deleted), or, with no backup, deletes the key
// with everything below it; the restore privilege is on only meanwhile.
void RestoreProductKey(const std::u16string& backup);

}  // namespace qv
