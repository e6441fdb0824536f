#include "system/named_objects.h"

#include "system/security_api.h"
#include "system/utf16.h"

namespace qv {

const OSVERSIONINFOEXW& GetOsVersion() {
  static const OSVERSIONINFOEXW version = [] {
    OSVERSIONINFOEXW record = {};
    record.dwOSVersionInfoSize = sizeof(record);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record))) {
      record = {};
      record.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
      GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
    }
    return record;
  }();
  return version;
}

std::u16string GetGlobalObjectPrefix() {
  const OSVERSIONINFOEXW& version = GetOsVersion();
  return GlobalObjectPrefixFor(version.dwPlatformId, version.dwMajorVersion);
}

namespace {

const DWORD kAllMutexRights = 0x1F0001;
const DWORD kAllSemaphoreRights = 0x1F0003;

// Builds the security attributes, lets `create` make the object and keeps its last error.
template <typename Create>
HANDLE CreateShared(const std::u16string& name, DWORD everyoneMask, Create create) {
  std::u16string fullName = GetGlobalObjectPrefix() + name;
  HANDLE handle = nullptr;
  DWORD error = ERROR_SUCCESS;
  try {
    SecurityBuffer acl = BuildSingleAceDacl(WellKnownSidKind::Everyone, everyoneMask);
    SecurityBuffer descriptor = AllocateSecurityBuffer(SECURITY_DESCRIPTOR_MIN_LENGTH);
    SecurityApi::InitializeSecurityDescriptor(descriptor.Descriptor());
    SecurityApi::SetSecurityDescriptorDacl(descriptor.Descriptor(), acl.Acl());
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor.Descriptor(), FALSE};
    handle = create(&attributes, AsWide(fullName));
    error = GetLastError();
  } catch (HRESULT) {
    handle = nullptr;
    error = ERROR_CAN_NOT_COMPLETE;
  }
  SetLastError(error);
  return handle;
}

}  // namespace

HANDLE CreateSharedMutex(const std::u16string& name) {
  return CreateShared(name, kAllMutexRights,
                      [](SECURITY_ATTRIBUTES* attributes, const wchar_t* fullName) {
                        return CreateMutexW(attributes, FALSE, fullName);
                      });
}

HANDLE CreateSharedSemaphore(const std::u16string& name, LONG initialCount, LONG maximumCount) {
  return CreateShared(name, kAllSemaphoreRights,
                      [=](SECURITY_ATTRIBUTES* attributes, const wchar_t* fullName) {
                        return CreateSemaphoreW(attributes, initialCount, maximumCount, fullName);
                      });
}

NamedMutexGuard::NamedMutexGuard(const std::u16string& name) : handle(CreateSharedMutex(name)) {}

NamedMutexGuard::~NamedMutexGuard() {
  if (!handle) return;
  if (owned) ReleaseMutex(handle);
  CloseHandle(handle);
}

bool NamedMutexGuard::TryAcquire() {
  DWORD result = handle ? WaitForSingleObject(handle, 0) : WAIT_FAILED;
  owned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  return owned;
}

void NamedMutexGuard::Release() {
  if (handle && owned) ReleaseMutex(handle);
  owned = false;
}

CountedSemaphore::CountedSemaphore(const std::u16string& name, LONG initialCount,
                                   LONG maximumCount)
    : handle(CreateSharedSemaphore(name, initialCount, maximumCount)) {}

CountedSemaphore::~CountedSemaphore() {
  if (held > 0) TakeUnits(held);
  if (handle) CloseHandle(handle);
}

bool CountedSemaphore::AddUnit() {
  if (!handle || !ReleaseSemaphore(handle, 1, nullptr)) return false;
  ++held;
  return true;
}

LONG CountedSemaphore::ProbeCount() {
  LONG previous = 0;
  if (!handle || !ReleaseSemaphore(handle, 1, &previous)) return 0;
  WaitForSingleObject(handle, 0);
  return previous;
}

bool CountedSemaphore::TakeUnits(LONG count) {
  if (count <= 0) return true;
  for (LONG taken = 0; taken < count; ++taken) {
    if (WaitForSingleObject(handle, 0) != WAIT_OBJECT_0) {
      if (taken > 0) ReleaseSemaphore(handle, taken, nullptr);
      return false;
    }
  }
  held -= count;
  return true;
}

}  // namespace qv
