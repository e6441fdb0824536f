#include "tests/system_win32/child_process.h"

#include <vector>

namespace qv::test_support {

std::wstring SiblingProgram(const wchar_t* fileName) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + fileName;
}

ChildProcess::ChildProcess(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process = info.hProcess;
  }
}

ChildProcess::~ChildProcess() {
  if (!process) return;
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 1);
  CloseHandle(process);
}

int ChildProcess::Wait(DWORD milliseconds) {
  if (!process || WaitForSingleObject(process, milliseconds) != WAIT_OBJECT_0) return -1000;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return static_cast<int>(code);
}

int RunToExit(const std::wstring& program, const std::wstring& arguments) {
  ChildProcess child(program, arguments);
  return child.Valid() ? child.Wait() : -1001;
}

std::wstring UniqueName(const wchar_t* stem) {
  static LONG counter = 0;
  return std::wstring(stem) + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
         std::to_wstring(InterlockedIncrement(&counter));
}

}  // namespace qv::test_support
