// The second process of the named-object and privilege tests.
//   try-guard         exit 0 when the setup instance guard can be taken, 1 when not
//   abandon-guard     takes the guard and ends without giving it back (exit 0)
//   lacking-backup    removes SeBackupPrivilege from its token, then enables the backup
//                     and restore privileges: exit bit 1 when the backup one succeeded,
//                     bit 2 when the restore one did
// Like every process of the family, it holds a presence unit while it runs.
//   hold READY QUIT   holds a unit of the presence semaphore, sets event READY and
//                     waits for event QUIT (exit 0, 3 when not registered)
#include <windows.h>

#include <cstring>
#include <string>

#include "system/named_objects.h"
#include "system/security.h"

namespace {

HANDLE OpenNamedEvent(const char* name) {
  return OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "try-guard") == 0) {
    qv::NamedMutexGuard guard(qv::kSetupGuardName);
    return guard.TryAcquire() ? 0 : 1;
  }
  if (argc >= 2 && std::strcmp(argv[1], "abandon-guard") == 0) {
    qv::NamedMutexGuard guard(qv::kSetupGuardName);
    if (!guard.TryAcquire()) return 1;
    // An ended process leaves its presence unit behind; only the mutex is to be abandoned here.
    qv::ProductPresenceSemaphore().TakeUnits(qv::ProductPresenceSemaphore().Held());
    TerminateProcess(GetCurrentProcess(), 0);
  }
  if (argc >= 4 && std::strcmp(argv[1], "hold") == 0) {
    if (!qv::IsPresenceRegistered()) return 3;
    HANDLE ready = OpenNamedEvent(argv[2]);
    HANDLE quit = OpenNamedEvent(argv[3]);
    if (!ready || !quit) return 4;
    SetEvent(ready);
    DWORD waited = WaitForSingleObject(quit, 60000);
    CloseHandle(ready);
    CloseHandle(quit);
    return waited == WAIT_OBJECT_0 ? 0 : 5;
  }
  if (argc >= 2 && std::strcmp(argv[1], "lacking-backup") == 0) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return 8;
    TOKEN_PRIVILEGES removal = {};
    removal.PrivilegeCount = 1;
    removal.Privileges[0].Attributes = SE_PRIVILEGE_REMOVED;
    bool removed = LookupPrivilegeValueW(nullptr, L"SeBackupPrivilege", &removal.Privileges[0].Luid) &&
                   AdjustTokenPrivileges(token, FALSE, &removal, 0, nullptr, nullptr) &&
                   GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    if (!removed) return 8;
    return (qv::SetTokenPrivilege(L"SeBackupPrivilege", true) ? 1 : 0) |
           (qv::SetTokenPrivilege(L"SeRestorePrivilege", true) ? 2 : 0);
  }
  return 2;
}
