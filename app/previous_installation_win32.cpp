#include <windows.h>
#include <shlwapi.h>

#include "app/previous_installation.h"
#include "app/setup_state.h"
#include "install/product_key.h"
#include "system/file_io.h"
#include "system/file_version.h"
#include "system/utf16.h"

namespace qv {
namespace {

std::u16string ProductKeyPath() {
  return std::u16string(kUninstallKeyPath) + u"\\" + kProductKeyName;
}

// A string value of the product key, at most 259 characters.
std::optional<std::u16string> ReadProductString(const char16_t* name) {
  wchar_t buffer[MAX_PATH] = {};
  DWORD size = sizeof(buffer);
  DWORD type = 0;
  if (SHGetValueW(HKEY_LOCAL_MACHINE, AsWide(ProductKeyPath()), AsWide(name), &type, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  buffer[MAX_PATH - 1] = 0;  // a value stored without its terminator
  return FromWide(buffer);
}

}  // namespace

InstalledProductRecord ReadInstalledProductRecord() {
  InstalledProductRecord record;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, AsWide(ProductKeyPath()), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return record;
  }
  RegCloseKey(key);
  record.installed = true;
  if (auto path = ReadProductString(kInstalledProgramValue)) record.mainProgramPath = *path;
  return record;
}

bool DetectPreviousInstallation(SetupState& state) {
  state.installedVersionText.clear();
  const InstalledProductRecord record = ReadInstalledProductRecord();
  if (!record.installed) {
    state.previousInstallState = PREVIOUS_NONE;
    return true;
  }
  std::uint64_t installed = 0;
  CFileVersionInfo info;
  if (!record.mainProgramPath.empty()) {
    info.flags = VI_ALL;
    if (!info.Read(record.mainProgramPath.c_str())) return false;
    installed = info.fileVersion;
  }
  state.previousInstallState = PreviousStateForVersion(installed);
  if (state.previousInstallState == PREVIOUS_OLDER || state.previousInstallState == PREVIOUS_NEWER) {
    state.installedVersionText = info.displayText;
  }
  return true;
}

std::u16string LocateUninstallLog() {
  return ChooseUninstallLog(ReadProductString(u"UninstallString"), ReadInstalledProductRecord().mainProgramPath,
                            [](const std::u16string& path) { return PathFileExistsW(AsWide(path)) != FALSE; });
}

}  // namespace qv
