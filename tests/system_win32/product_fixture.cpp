// Stands in for the installed main program in installation tests. While it runs it
// holds one unit of the product presence semaphore.
//   /Register /Background   exits with -10, the registration run's success code
//   /Hold EVENT             waits (at most five minutes) until the named event is set
// Anything else exits with 0. When QV_FIXTURE_LOG names a file, each start appends
// its arguments there as one UTF-8 line.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "system/named_objects.h"
#include "system/utf16.h"

namespace {

void LogArguments(const std::wstring& arguments) {
  wchar_t logPath[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"QV_FIXTURE_LOG", logPath, MAX_PATH)) return;
  if (FILE* log = _wfopen(logPath, L"ab")) {
    std::string line = qv::Utf16ToUtf8(qv::FromWide(arguments.c_str())) + "\n";
    std::fwrite(line.data(), 1, line.size(), log);
    std::fclose(log);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (!qv::IsPresenceRegistered()) return 3;
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return 4;
  std::wstring arguments;
  for (int i = 1; i < count; ++i) arguments += (i > 1 ? L" " : L"") + std::wstring(args[i]);
  LogArguments(arguments);
  int result = 0;
  if (count == 3 && lstrcmpiW(args[1], L"/Register") == 0 &&
      lstrcmpiW(args[2], L"/Background") == 0) {
    result = -10;
  } else if (count == 3 && lstrcmpiW(args[1], L"/Hold") == 0) {
    HANDLE quit = OpenEventW(SYNCHRONIZE, FALSE, args[2]);
    result = quit && WaitForSingleObject(quit, 300000) == WAIT_OBJECT_0 ? 0 : 5;
    if (quit) CloseHandle(quit);
  }
  LocalFree(args);
  return result;
}
