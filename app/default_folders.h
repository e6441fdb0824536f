#pragma once
// The folders an installation goes to when no earlier one tells otherwise. Win32 only.
#ifdef _WIN32
#include <string>

namespace qv {

// Program Files (the shell folder, else the registry value "ProgramFilesDir", else the
// Windows folder's root + "Program Files"), then "Quorvik" and "Vantrel 4".
std::u16string DefaultInstallFolder();
// The all-users Programs folder (else the user's own), then "Quorvik" and "Vantrel 4".
std::u16string DefaultMenuFolder();

}  // namespace qv
#endif
