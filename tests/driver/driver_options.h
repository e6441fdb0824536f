#pragma once
// What the wizard driver is asked to do, read from its command line.
#include <string>
#include <vector>

namespace qv::driver {

struct DriverOptions {
  std::wstring setupPath;
  // Empty: keep the language the setup chose. Digits: a language index; else an item text.
  std::wstring language;
  bool customMode = false;
  std::wstring folder;  // custom mode only; empty keeps the default
  int menuShortcuts = -1;    // -1 keeps the default, else 0 or 1 (custom mode)
  int desktopShortcut = -1;  // likewise
  std::wstring screenshotFolder;
  // Empty: walk to the end. Else the page at which the walk leaves with Cancel.
  std::wstring stopAt;
  std::wstring desktopName = L"qvdriver";
  unsigned timeoutSeconds = 300;
};

// Fills `options` from the arguments (without the program name); false with `error` set on
// an unknown option or a missing value.
bool ParseDriverOptions(const std::vector<std::wstring>& args, DriverOptions& options, std::wstring& error);

const wchar_t* DriverUsage();

}  // namespace qv::driver
