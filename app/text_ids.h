#pragma once
// Text ids: the resource id of each text in the French table. LookupTextId turns one into the
// resource of the current language.

namespace qv {

constexpr unsigned TEXT_INSTALLER = 1000;
constexpr unsigned TEXT_NEXT = 1006;
constexpr unsigned TEXT_OK = 1011;
constexpr unsigned TEXT_FAILED = 1012;
constexpr unsigned TEXT_UNINSTALL_NAME = 1013;
constexpr unsigned TEXT_EXAMPLES_FOLDER = 1018;
constexpr unsigned TEXT_CLICK_TO_CONTINUE = 1106;
constexpr unsigned TEXT_PREPARING = 1114;
constexpr unsigned TEXT_COPYING_FILE = 1115;
constexpr unsigned TEXT_DATA_CONTROL = 1116;
constexpr unsigned TEXT_SHORTCUTS = 1117;
constexpr unsigned TEXT_REGISTRY = 1118;
constexpr unsigned TEXT_LOG_WRITING = 1119;
constexpr unsigned TEXT_INSTALLATION_FAILED = 1121;
constexpr unsigned TEXT_NEEDS_ADMINISTRATOR = 1126;
constexpr unsigned TEXT_CLOSE_PRODUCT = 1127;

}  // namespace qv
