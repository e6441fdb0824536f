#pragma once
// Windows security: the administrator test, the access grant for the local Users
// group and token privileges. None of these throws. Win32 only; the header is empty
// elsewhere.
#ifdef _WIN32
#include <windows.h>

namespace qv {

// A module of the system folder; a relative name falls back to the default search order.
HMODULE LoadSystemLibrary(const wchar_t* name);

bool IsUserAdministrator();
// The test used where CheckTokenMembership is missing: an access check against a
// descriptor that grants access only to Administrators.
bool IsUserAdministratorByAccessCheck();
bool GrantFileAccess(const wchar_t* path, DWORD mask);
bool SetTokenPrivilege(const wchar_t* name, bool enable);

// Read, write and delete, but not execute.
constexpr DWORD kUsersFileAccessMask = 0x13019F;

}  // namespace qv
#endif
