#include "driver_options.h"

#include <cwchar>

namespace qv::driver {

namespace {

bool ParseChoice(const std::wstring& value, int& choice) {
  if (value == L"yes") {
    choice = 1;
    return true;
  }
  if (value == L"no") {
    choice = 0;
    return true;
  }
  return false;
}

}  // namespace

const wchar_t* DriverUsage() {
  return L"usage: wizard_driver [--language INDEX|NAME] [--quick|--custom] [--folder PATH]\n"
         L"                     [--menu-shortcuts yes|no] [--desktop-shortcut yes|no]\n"
         L"                     [--screenshots FOLDER] [--stop-at PAGE] [--desktop NAME]\n"
         L"                     [--timeout SECONDS] [--walk] SETUP.EXE\n";
}

bool ParseDriverOptions(const std::vector<std::wstring>& args, DriverOptions& options, std::wstring& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg == L"--walk") continue;
    if (arg == L"--quick" || arg == L"--custom") {
      options.customMode = arg == L"--custom";
      continue;
    }
    if (arg.rfind(L"--", 0) != 0) {
      if (!options.setupPath.empty()) {
        error = L"more than one setup program: " + arg;
        return false;
      }
      options.setupPath = arg;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = L"missing value after " + arg;
      return false;
    }
    const std::wstring& value = args[++i];
    if (arg == L"--language") {
      options.language = value;
    } else if (arg == L"--folder") {
      options.folder = value;
    } else if (arg == L"--screenshots") {
      options.screenshotFolder = value;
    } else if (arg == L"--stop-at") {
      options.stopAt = value;
    } else if (arg == L"--desktop") {
      options.desktopName = value;
    } else if (arg == L"--menu-shortcuts" || arg == L"--desktop-shortcut") {
      int& choice = arg == L"--menu-shortcuts" ? options.menuShortcuts : options.desktopShortcut;
      if (!ParseChoice(value, choice)) {
        error = arg + L" takes yes or no";
        return false;
      }
    } else if (arg == L"--timeout") {
      wchar_t* end = nullptr;
      const unsigned long seconds = std::wcstoul(value.c_str(), &end, 10);
      if (value.empty() || *end != 0 || seconds == 0) {
        error = L"--timeout takes a positive number of seconds";
        return false;
      }
      options.timeoutSeconds = static_cast<unsigned>(seconds);
    } else {
      error = L"unknown option " + arg;
      return false;
    }
  }
  if (options.setupPath.empty()) {
    error = L"no setup program given";
    return false;
  }
  return true;
}

}  // namespace qv::driver
