#pragma once
// The advapi32 security functions, bound at run time, and what the system services
// build from them. Unless said otherwise, failure is thrown as an HRESULT; this is
// meant for the system services, which catch it. Win32 only.
#ifdef _WIN32
#include <windows.h>

#include <cstddef>
#include <memory>

namespace qv {

// Each wrapper binds its advapi32 function on first use and throws an HRESULT on
// failure: E_UNEXPECTED without advapi32.dll, E_NOTIMPL without the export,
// otherwise the last error as an HRESULT. Arguments the setup always passes the
// same way are fixed inside.
namespace SecurityApi {

void OpenProcessToken(DWORD access, HANDLE* token);
// The thread token with TOKEN_QUERY, or the process token when the thread has none.
void OpenThreadToken(HANDLE* token);
void LookupPrivilegeValueW(const wchar_t* name, LUID* luid);
// ERROR_NOT_ALL_ASSIGNED counts as failure.
void AdjustTokenPrivileges(HANDLE token, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength);
void AllocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD sub0,
                              DWORD sub1, PSID* sid);
// Never throws; a SID is leaked only when FreeSid cannot be bound.
void FreeSid(PSID sid);
bool IsValidSid(PSID sid);
DWORD GetLengthSid(PSID sid);
bool EqualSid(PSID first, PSID second);
void InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor);
void SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, PACL dacl);
void SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner);
void SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID group);
bool IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor);
void GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL* present, PACL* dacl,
                               BOOL* defaulted);
void GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor,
                                  SECURITY_DESCRIPTOR_CONTROL* control, DWORD* revision);
void SetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor,
                                  SECURITY_DESCRIPTOR_CONTROL mask,
                                  SECURITY_DESCRIPTOR_CONTROL bits);
void InitializeAcl(PACL acl, DWORD length);
void GetAclInformation(PACL acl, ACL_SIZE_INFORMATION* info);
void GetAce(PACL acl, DWORD index, void** ace);
void AddAce(PACL acl, void* ace, DWORD length);
void AddAccessAllowedAce(PACL acl, DWORD mask, PSID sid);
// A size query (no buffer) that reports ERROR_INSUFFICIENT_BUFFER succeeds.
void GetFileSecurityW(const wchar_t* path, PSECURITY_DESCRIPTOR descriptor, DWORD length,
                      DWORD* needed);
void SetFileSecurityW(const wchar_t* path, PSECURITY_DESCRIPTOR descriptor);
void CheckTokenMembership(PSID sid, BOOL* member);
void ImpersonateSelf();
// Never throws: false with ERROR_CALL_NOT_IMPLEMENTED when it cannot be bound.
bool RevertToSelf();
void AccessCheck(PSECURITY_DESCRIPTOR descriptor, HANDLE token, GENERIC_MAPPING* mapping,
                 PRIVILEGE_SET* privileges, DWORD* privilegesLength, DWORD* granted,
                 BOOL* status);

}  // namespace SecurityApi

enum class WellKnownSidKind { Everyone, Administrators, Users };

struct SidDeleter {
  void operator()(void* sid) const { SecurityApi::FreeSid(sid); }
};
using SidHolder = std::unique_ptr<void, SidDeleter>;

// Zero-filled bytes for ACLs and security descriptors.
struct SecurityBuffer {
  std::unique_ptr<BYTE[]> bytes;
  DWORD size = 0;
  PACL Acl() const { return reinterpret_cast<PACL>(bytes.get()); }
  PSECURITY_DESCRIPTOR Descriptor() const { return bytes.get(); }
};
// Throws E_OUTOFMEMORY.
SecurityBuffer AllocateSecurityBuffer(std::size_t size);

// Throw an HRESULT; callers catch it.
SidHolder BuildWellKnownSid(WellKnownSidKind kind);
SecurityBuffer BuildSingleAceDacl(WellKnownSidKind kind, DWORD mask);

// A security descriptor with the ACL it points to.
struct OwnedDescriptor {
  SecurityBuffer acl;
  SecurityBuffer descriptor;
};

// The DACL that GrantFileAccess writes, built from the file's present descriptor:
// every ACE of the Users group dropped, one allow ACE for Users with `mask` after
// the explicit ACEs and before the inherited ones, the inheritance state kept.
// False with the HRESULT in `error` on failure.
bool BuildUsersGrantDescriptor(PSECURITY_DESCRIPTOR current, DWORD mask, OwnedDescriptor& result,
                               HRESULT* error = nullptr);

}  // namespace qv
#endif
