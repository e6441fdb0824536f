#include "app/previous_installation.h"

#include "app/setup_state.h"

namespace qv {
namespace {

constexpr std::size_t kMaxPathChars = 259;

}  // namespace

std::int32_t PreviousStateForVersion(std::uint64_t installedVersion) {
  if (installedVersion == 0 || installedVersion == SETUP_FILE_VERSION) return PREVIOUS_SAME;
  return SETUP_FILE_VERSION < installedVersion ? PREVIOUS_NEWER : PREVIOUS_OLDER;
}

std::u16string UninstallLogBeside(const std::u16string& file) {
  const std::u16string text = file.substr(0, kMaxPathChars);
  const std::size_t slash = text.find_last_of(u"\\/");
  if (slash == std::u16string::npos) return std::u16string();
  std::u16string log = text.substr(0, slash + 1) + u"Uninstall.ulog";
  if (log.size() > kMaxPathChars) return std::u16string();
  return log;
}

std::u16string ChooseUninstallLog(const std::optional<std::u16string>& uninstallString,
                                  const std::u16string& mainProgramPath,
                                  const std::function<bool(const std::u16string&)>& exists) {
  if (uninstallString) {
    std::u16string log = UninstallLogBeside(*uninstallString);
    if (!log.empty() && exists(log)) return log;
  }
  if (!mainProgramPath.empty()) {
    std::u16string log = UninstallLogBeside(mainProgramPath);
    if (!log.empty() && exists(log)) return log;
  }
  return std::u16string();
}

}  // namespace qv
