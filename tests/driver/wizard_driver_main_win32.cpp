// wizard_driver: starts the setup and walks its wizard; exit code 0 when the walk
// completed, 1 when it failed, 2 on a wrong command line.
#include <windows.h>
#include <shellapi.h>

#include "driver_options.h"
#include "driver_output_win32.h"
#include "wizard_walk_win32.h"

int main() {
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);

  qv::driver::DriverOptions options;
  std::wstring error;
  if (!qv::driver::ParseDriverOptions(args, options, error)) {
    qv::driver::PrintLine(L"wizard_driver: " + error);
    qv::driver::PrintLine(qv::driver::DriverUsage());
    return 2;
  }
  qv::driver::WizardWalk walk(options);
  return walk.Run() == qv::driver::WalkResult::Completed ? 0 : 1;
}
