#pragma once
// Starting the test's helper programs, which are built beside the test program.
#include <windows.h>

#include <string>

namespace qv::test_support {

// A program in the test program's own folder.
std::wstring SiblingProgram(const wchar_t* fileName);

class ChildProcess {
 public:
  // Starts the quoted program with the arguments; Valid() tells whether it started.
  ChildProcess(const std::wstring& program, const std::wstring& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Valid() const { return process != nullptr; }
  // The exit code, or -1000 when it did not end within the time.
  int Wait(DWORD milliseconds = 30000);

 private:
  HANDLE process = nullptr;
};

// Starts, waits and returns the exit code; -1001 when it did not start.
int RunToExit(const std::wstring& program, const std::wstring& arguments);

// A name no other test run uses.
std::wstring UniqueName(const wchar_t* stem);

}  // namespace qv::test_support
