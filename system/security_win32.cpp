#include "system/security.h"

#include <shlwapi.h>

#include <cwchar>
#include <new>

#include "system/security_api.h"

namespace qv {

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  if (PathIsRelativeW(name)) {
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + wcslen(name) >= MAX_PATH) {
      path[0] = L'\0';
    } else {
      if (path[length - 1] != L'\\') wcscat(path, L"\\");
      wcscat(path, name);
    }
  } else {
    wcsncpy(path, name, MAX_PATH - 1);
  }
  HMODULE module = path[0] ? LoadLibraryW(path) : nullptr;
  return module ? module : LoadLibraryW(name);
}

namespace {

[[noreturn]] void Throw(HRESULT result) { throw result; }

[[noreturn]] void ThrowLastError() {
  LONG error = static_cast<LONG>(GetLastError());
  Throw(error <= 0 ? error : static_cast<HRESULT>(0x80070000u | (static_cast<DWORD>(error) & 0xFFFF)));
}

HMODULE Advapi32() {
  static HMODULE module = nullptr;
  if (!module) {
    module = GetModuleHandleW(L"advapi32.dll");
    if (!module) module = LoadSystemLibrary(L"advapi32.dll");
  }
  return module;
}

// The slot keeps the address for the rest of the process once it is found.
template <typename Fn>
Fn Bind(FARPROC& slot, const char* name) {
  if (!slot) {
    HMODULE module = Advapi32();
    if (!module) Throw(E_UNEXPECTED);
    slot = GetProcAddress(module, name);
    if (!slot) Throw(E_NOTIMPL);
  }
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(slot));
}

#define QV_BIND(function)                                   \
  static FARPROC slot = nullptr;                            \
  auto call = Bind<decltype(&::function)>(slot, #function)

void Check(BOOL result) {
  if (!result) ThrowLastError();
}

}  // namespace

namespace SecurityApi {

void OpenProcessToken(DWORD access, HANDLE* token) {
  QV_BIND(OpenProcessToken);
  Check(call(GetCurrentProcess(), access, token));
}

void OpenThreadToken(HANDLE* token) {
  QV_BIND(OpenThreadToken);
  if (call(GetCurrentThread(), TOKEN_QUERY, FALSE, token)) return;
  if (GetLastError() != ERROR_NO_TOKEN) ThrowLastError();
  OpenProcessToken(TOKEN_QUERY, token);
}

void LookupPrivilegeValueW(const wchar_t* name, LUID* luid) {
  QV_BIND(LookupPrivilegeValueW);
  Check(call(nullptr, name, luid));
}

void AdjustTokenPrivileges(HANDLE token, TOKEN_PRIVILEGES* newState, DWORD bufferLength,
                           TOKEN_PRIVILEGES* previousState, DWORD* returnLength) {
  QV_BIND(AdjustTokenPrivileges);
  if (!call(token, FALSE, newState, bufferLength, previousState, returnLength) ||
      GetLastError() != ERROR_SUCCESS) {
    ThrowLastError();
  }
}

void AllocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD sub0,
                              DWORD sub1, PSID* sid) {
  QV_BIND(AllocateAndInitializeSid);
  Check(call(&authority, count, sub0, count > 1 ? sub1 : 0, 0, 0, 0, 0, 0, 0, sid));
}

void FreeSid(PSID sid) {
  try {
    QV_BIND(FreeSid);
    call(sid);
  } catch (HRESULT) {
  }
}

bool IsValidSid(PSID sid) {
  if (!sid) return false;
  QV_BIND(IsValidSid);
  return call(sid) != FALSE;
}

DWORD GetLengthSid(PSID sid) {
  if (!IsValidSid(sid)) Throw(E_INVALIDARG);
  QV_BIND(GetLengthSid);
  return call(sid);
}

bool EqualSid(PSID first, PSID second) {
  if (!IsValidSid(first) || !IsValidSid(second)) Throw(E_INVALIDARG);
  QV_BIND(EqualSid);
  return call(first, second) != FALSE;
}

void InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor) {
  QV_BIND(InitializeSecurityDescriptor);
  Check(call(descriptor, SECURITY_DESCRIPTOR_REVISION));
}

void SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, PACL dacl) {
  QV_BIND(SetSecurityDescriptorDacl);
  Check(call(descriptor, TRUE, dacl, FALSE));
}

void SetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR descriptor, PSID owner) {
  QV_BIND(SetSecurityDescriptorOwner);
  Check(call(descriptor, owner, FALSE));
}

void SetSecurityDescriptorGroup(PSECURITY_DESCRIPTOR descriptor, PSID group) {
  QV_BIND(SetSecurityDescriptorGroup);
  Check(call(descriptor, group, FALSE));
}

bool IsValidSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor) {
  QV_BIND(IsValidSecurityDescriptor);
  return call(descriptor) != FALSE;
}

void GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, BOOL* present, PACL* dacl,
                               BOOL* defaulted) {
  QV_BIND(GetSecurityDescriptorDacl);
  Check(call(descriptor, present, dacl, defaulted));
}

void GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor,
                                  SECURITY_DESCRIPTOR_CONTROL* control, DWORD* revision) {
  QV_BIND(GetSecurityDescriptorControl);
  Check(call(descriptor, control, revision));
}

void SetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor,
                                  SECURITY_DESCRIPTOR_CONTROL mask,
                                  SECURITY_DESCRIPTOR_CONTROL bits) {
  QV_BIND(SetSecurityDescriptorControl);
  Check(call(descriptor, mask, bits));
}

void InitializeAcl(PACL acl, DWORD length) {
  QV_BIND(InitializeAcl);
  Check(call(acl, length, ACL_REVISION));
}

void GetAclInformation(PACL acl, ACL_SIZE_INFORMATION* info) {
  QV_BIND(GetAclInformation);
  Check(call(acl, info, sizeof(*info), AclSizeInformation));
}

void GetAce(PACL acl, DWORD index, void** ace) {
  QV_BIND(GetAce);
  Check(call(acl, index, ace));
}

void AddAce(PACL acl, void* ace, DWORD length) {
  QV_BIND(AddAce);
  Check(call(acl, ACL_REVISION, MAXDWORD, ace, length));
}

void AddAccessAllowedAce(PACL acl, DWORD mask, PSID sid) {
  QV_BIND(AddAccessAllowedAce);
  Check(call(acl, ACL_REVISION, mask, sid));
}

void GetFileSecurityW(const wchar_t* path, PSECURITY_DESCRIPTOR descriptor, DWORD length,
                      DWORD* needed) {
  QV_BIND(GetFileSecurityW);
  if (call(path, DACL_SECURITY_INFORMATION, descriptor, length, needed)) return;
  if (descriptor || GetLastError() != ERROR_INSUFFICIENT_BUFFER) ThrowLastError();
}

void SetFileSecurityW(const wchar_t* path, PSECURITY_DESCRIPTOR descriptor) {
  QV_BIND(SetFileSecurityW);
  Check(call(path, DACL_SECURITY_INFORMATION, descriptor));
}

void CheckTokenMembership(PSID sid, BOOL* member) {
  QV_BIND(CheckTokenMembership);
  Check(call(nullptr, sid, member));
}

void ImpersonateSelf() {
  QV_BIND(ImpersonateSelf);
  Check(call(SecurityImpersonation));
}

bool RevertToSelf() {
  try {
    QV_BIND(RevertToSelf);
    return call() != FALSE;
  } catch (HRESULT) {
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return false;
  }
}

void AccessCheck(PSECURITY_DESCRIPTOR descriptor, HANDLE token, GENERIC_MAPPING* mapping,
                 PRIVILEGE_SET* privileges, DWORD* privilegesLength, DWORD* granted,
                 BOOL* status) {
  QV_BIND(AccessCheck);
  Check(call(descriptor, token, 1, mapping, privileges, privilegesLength, granted, status));
}

}  // namespace SecurityApi

#undef QV_BIND

SecurityBuffer AllocateSecurityBuffer(std::size_t size) {
  SecurityBuffer buffer;
  buffer.bytes.reset(new (std::nothrow) BYTE[size]());
  if (!buffer.bytes) Throw(E_OUTOFMEMORY);
  buffer.size = static_cast<DWORD>(size);
  return buffer;
}

SidHolder BuildWellKnownSid(WellKnownSidKind kind) {
  SID_IDENTIFIER_AUTHORITY world = {SECURITY_WORLD_SID_AUTHORITY};
  SID_IDENTIFIER_AUTHORITY nt = {SECURITY_NT_AUTHORITY};
  PSID sid = nullptr;
  switch (kind) {
    case WellKnownSidKind::Everyone:
      SecurityApi::AllocateAndInitializeSid(world, 1, SECURITY_WORLD_RID, 0, &sid);
      break;
    case WellKnownSidKind::Administrators:
      SecurityApi::AllocateAndInitializeSid(nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                            DOMAIN_ALIAS_RID_ADMINS, &sid);
      break;
    case WellKnownSidKind::Users:
      SecurityApi::AllocateAndInitializeSid(nt, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                            DOMAIN_ALIAS_RID_USERS, &sid);
      break;
  }
  return SidHolder(sid);
}

SecurityBuffer BuildSingleAceDacl(WellKnownSidKind kind, DWORD mask) {
  SidHolder sid = BuildWellKnownSid(kind);
  SecurityBuffer acl = AllocateSecurityBuffer(SecurityApi::GetLengthSid(sid.get()) + 16);
  SecurityApi::InitializeAcl(acl.Acl(), acl.size);
  SecurityApi::AddAccessAllowedAce(acl.Acl(), mask, sid.get());
  return acl;
}

namespace {

// The SID of an ACE follows its header and access mask; an ACE too small to hold
// the Users SID cannot name it.
bool AceNamesSid(void* ace, PSID sid, DWORD sidLength) {
  auto header = static_cast<ACE_HEADER*>(ace);
  if (header->AceSize < sizeof(ACE_HEADER) + sizeof(DWORD) + sidLength) return false;
  return SecurityApi::EqualSid(static_cast<BYTE*>(ace) + sizeof(ACE_HEADER) + sizeof(DWORD), sid);
}

void CarryInheritanceState(PSECURITY_DESCRIPTOR from, PSECURITY_DESCRIPTOR to) {
  try {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    SecurityApi::GetSecurityDescriptorControl(from, &control, &revision);
    if (control & SE_DACL_AUTO_INHERITED) {
      const SECURITY_DESCRIPTOR_CONTROL bits = SE_DACL_AUTO_INHERIT_REQ | SE_DACL_AUTO_INHERITED;
      SecurityApi::SetSecurityDescriptorControl(to, bits, bits);
    } else if (control & SE_DACL_PROTECTED) {
      SecurityApi::SetSecurityDescriptorControl(to, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }
  } catch (HRESULT result) {
    if (result != E_NOTIMPL) throw;
  }
}

OwnedDescriptor BuildGrant(PSECURITY_DESCRIPTOR current, DWORD mask) {
  SidHolder users = BuildWellKnownSid(WellKnownSidKind::Users);
  DWORD usersLength = SecurityApi::GetLengthSid(users.get());

  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  SecurityApi::GetSecurityDescriptorDacl(current, &present, &dacl, &defaulted);
  if (!present) dacl = nullptr;
  DWORD aceCount = 0;
  DWORD bytesInUse = sizeof(ACL);
  if (dacl) {
    ACL_SIZE_INFORMATION info = {};
    SecurityApi::GetAclInformation(dacl, &info);
    aceCount = info.AceCount;
    bytesInUse = info.AclBytesInUse;
  }

  OwnedDescriptor result;
  result.acl = AllocateSecurityBuffer(std::size_t(usersLength) + bytesInUse + 8);
  SecurityApi::InitializeAcl(result.acl.Acl(), result.acl.size);
  DWORD index = 0;
  auto copyUntil = [&](bool stopAtInherited) {
    for (; index < aceCount; ++index) {
      void* ace = nullptr;
      SecurityApi::GetAce(dacl, index, &ace);
      auto header = static_cast<ACE_HEADER*>(ace);
      if (stopAtInherited && (header->AceFlags & INHERITED_ACE)) return;
      if (AceNamesSid(ace, users.get(), usersLength)) continue;
      SecurityApi::AddAce(result.acl.Acl(), ace, header->AceSize);
    }
  };
  copyUntil(true);
  SecurityApi::AddAccessAllowedAce(result.acl.Acl(), mask, users.get());
  copyUntil(false);

  result.descriptor = AllocateSecurityBuffer(SECURITY_DESCRIPTOR_MIN_LENGTH);
  SecurityApi::InitializeSecurityDescriptor(result.descriptor.Descriptor());
  SecurityApi::SetSecurityDescriptorDacl(result.descriptor.Descriptor(), result.acl.Acl());
  CarryInheritanceState(current, result.descriptor.Descriptor());
  return result;
}

}  // namespace

bool BuildUsersGrantDescriptor(PSECURITY_DESCRIPTOR current, DWORD mask, OwnedDescriptor& result,
                               HRESULT* error) {
  try {
    result = BuildGrant(current, mask);
    if (error) *error = S_OK;
    return true;
  } catch (HRESULT failure) {
    if (error) *error = failure;
    return false;
  }
}

bool GrantFileAccess(const wchar_t* path, DWORD mask) {
  try {
    DWORD needed = 0;
    SecurityApi::GetFileSecurityW(path, nullptr, 0, &needed);
    SecurityBuffer current = AllocateSecurityBuffer(needed);
    SecurityApi::GetFileSecurityW(path, current.Descriptor(), current.size, &needed);
    OwnedDescriptor granted = BuildGrant(current.Descriptor(), mask);
    SecurityApi::SetFileSecurityW(path, granted.descriptor.Descriptor());
    return true;
  } catch (HRESULT) {
    return false;
  }
}

bool IsUserAdministratorByAccessCheck() {
  bool impersonating = false;
  HANDLE token = nullptr;
  bool member = false;
  try {
    SecurityApi::ImpersonateSelf();
    impersonating = true;
    SecurityApi::OpenThreadToken(&token);
    SidHolder administrators = BuildWellKnownSid(WellKnownSidKind::Administrators);
    SecurityBuffer acl = BuildSingleAceDacl(WellKnownSidKind::Administrators, 3);
    SecurityBuffer descriptor = AllocateSecurityBuffer(SECURITY_DESCRIPTOR_MIN_LENGTH);
    SecurityApi::InitializeSecurityDescriptor(descriptor.Descriptor());
    SecurityApi::SetSecurityDescriptorDacl(descriptor.Descriptor(), acl.Acl());
    SecurityApi::SetSecurityDescriptorGroup(descriptor.Descriptor(), administrators.get());
    SecurityApi::SetSecurityDescriptorOwner(descriptor.Descriptor(), administrators.get());
    if (!SecurityApi::IsValidSecurityDescriptor(descriptor.Descriptor())) Throw(E_UNEXPECTED);
    GENERIC_MAPPING mapping = {1, 2, 0, 3};
    alignas(PRIVILEGE_SET) BYTE privileges[20] = {};
    DWORD privilegesLength = sizeof(privileges);
    DWORD granted = 0;
    BOOL status = FALSE;
    SecurityApi::AccessCheck(descriptor.Descriptor(), token, &mapping,
                             reinterpret_cast<PRIVILEGE_SET*>(privileges), &privilegesLength,
                             &granted, &status);
    member = status != FALSE;
  } catch (HRESULT) {
    member = false;
  }
  if (impersonating) SecurityApi::RevertToSelf();
  if (token) CloseHandle(token);
  return member;
}

bool IsUserAdministrator() {
  try {
    SidHolder administrators = BuildWellKnownSid(WellKnownSidKind::Administrators);
    BOOL member = FALSE;
    SecurityApi::CheckTokenMembership(administrators.get(), &member);
    return member != FALSE;
  } catch (HRESULT) {
    return IsUserAdministratorByAccessCheck();
  }
}

bool SetTokenPrivilege(const wchar_t* name, bool enable) {
  HANDLE token = nullptr;
  bool done = false;
  try {
    SecurityApi::OpenProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token);
    LUID luid = {};
    SecurityApi::LookupPrivilegeValueW(name, &luid);
    TOKEN_PRIVILEGES query = {};
    query.PrivilegeCount = 1;
    query.Privileges[0].Luid = luid;
    TOKEN_PRIVILEGES previous = {};
    DWORD previousLength = sizeof(previous);
    SecurityApi::AdjustTokenPrivileges(token, &query, sizeof(query), &previous, &previousLength);
    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = luid;
    if (enable) {
      previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    } else {
      previous.Privileges[0].Attributes &= ~DWORD(SE_PRIVILEGE_ENABLED);
    }
    SecurityApi::AdjustTokenPrivileges(token, &previous, previousLength, nullptr, nullptr);
    done = true;
  } catch (HRESULT) {
    done = false;
  }
  if (token) CloseHandle(token);
  return done;
}

}  // namespace qv
