#pragma once
// How an earlier installation of the product compares with this setup, and where its
// uninstall log lies.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qv {

// 4.5.2.2, one 16-bit word each, the first word highest.
constexpr std::uint64_t SETUP_FILE_VERSION = 0x0004000500020002ull;

// What the system says about an installed copy of the product.
struct InstalledProductRecord {
  bool installed = false;
  std::u16string mainProgramPath;  // may be empty: unknown
};

// The previousInstallState for an installed file version (0: cannot be told).
std::int32_t PreviousStateForVersion(std::uint64_t installedVersion);

// "Uninstall.ulog" in the folder of file (cut to 259 characters); empty when file has no
// folder part or the result does not fit.
std::u16string UninstallLogBeside(const std::u16string& file);

// The earlier log: beside the registered uninstaller first, else beside the main program;
// only a path that exists counts. Empty when neither does.
std::u16string ChooseUninstallLog(const std::optional<std::u16string>& uninstallString,
                                  const std::u16string& mainProgramPath,
                                  const std::function<bool(const std::u16string&)>& exists);

#ifdef _WIN32
struct SetupState;

// The record kept in the product's Uninstall key.
InstalledProductRecord ReadInstalledProductRecord();
// Sets previousInstallState and installedVersionText. False when the installed main
// program's version resource cannot be read: the setup cannot go on.
bool DetectPreviousInstallation(SetupState& state);
std::u16string LocateUninstallLog();
#endif

}  // namespace qv
