#pragma once
// What the setup knows and what the wizard collects, held by the application object.
#include <cstdint>
#include <string>

#include "install/uninstall_log.h"

namespace qv {

constexpr std::int32_t PREVIOUS_NONE = 0;
constexpr std::int32_t PREVIOUS_SAME = 1;   // or a version that cannot be told
constexpr std::int32_t PREVIOUS_OLDER = 2;  // the run is an update
constexpr std::int32_t PREVIOUS_NEWER = -1;

struct SetupState {
  std::int32_t previousInstallState = PREVIOUS_NONE;
  // Only for PREVIOUS_OLDER and PREVIOUS_NEWER.
  std::u16string installedVersionText;
  std::int32_t languageIndex = 0;
  std::u16string installFolder;
  std::u16string menuFolder;
  // Start-up sets the three options; an earlier installation's choices are not kept.
  bool createMenuShortcuts = false;
  bool createDesktopShortcut = false;
  bool customMode = false;
  std::u16string payloadTempFile;
  // The earlier installation's log as read, and this run's changes.
  UninstallLog uninstallLog;
  // Once true, stays true.
  bool installDone = false;
  std::u16string applicationTitle;
};

}  // namespace qv
