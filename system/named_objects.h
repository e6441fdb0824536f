#pragma once
// Named kernel objects shared by every process of the product family: the setup
// instance guard (a mutex) and the product presence semaphore.
#include <string>

namespace qv {

constexpr char16_t kSetupGuardName[] = u"Vantrel4.{5ead623c-dfcd-474d-8e3c-e6978cac039e}";
constexpr char16_t kPresenceSemaphoreName[] = u"Vantrel4.{a3526b56-ca7c-4e16-8a26-da7758a378fd}";

// "Global\" on Windows NT 5.0 and later (platform id 2), nothing on NT 4.0 and the 9x family.
std::u16string GlobalObjectPrefixFor(unsigned long platformId, unsigned long majorVersion);

}  // namespace qv

#ifdef _WIN32
#include <windows.h>

namespace qv {

// Asked once, the extended record first; the same record for every caller.
const OSVERSIONINFOEXW& GetOsVersion();
std::u16string GetGlobalObjectPrefix();

// Create or open prefix + name with a DACL that gives Everyone all rights on the
// object; the last error of the create call survives (ERROR_ALREADY_EXISTS).
// Null with ERROR_CAN_NOT_COMPLETE when the descriptor cannot be built.
HANDLE CreateSharedMutex(const std::u16string& name);
HANDLE CreateSharedSemaphore(const std::u16string& name, LONG initialCount, LONG maximumCount);

// Opens the mutex without taking it.
class NamedMutexGuard {
 public:
  explicit NamedMutexGuard(const std::u16string& name);
  ~NamedMutexGuard();
  NamedMutexGuard(const NamedMutexGuard&) = delete;
  NamedMutexGuard& operator=(const NamedMutexGuard&) = delete;

  // An abandoned mutex counts as taken.
  bool TryAcquire();
  // Gives the mutex up while this process lets another one run.
  void Release();
  HANDLE Handle() const { return handle; }
  bool IsOwned() const { return owned; }

 private:
  HANDLE handle = nullptr;
  bool owned = false;
};

class CountedSemaphore {
 public:
  CountedSemaphore(const std::u16string& name, LONG initialCount, LONG maximumCount);
  // Takes back the units this process added.
  ~CountedSemaphore();
  CountedSemaphore(const CountedSemaphore&) = delete;
  CountedSemaphore& operator=(const CountedSemaphore&) = delete;

  // Adds one unit that this process holds until it takes it back.
  bool AddUnit();
  // The count before a release that is taken back at once; 0 when the release fails.
  LONG ProbeCount();
  // All n units or none.
  bool TakeUnits(LONG count);
  HANDLE Handle() const { return handle; }
  LONG Held() const { return held; }

 private:
  HANDLE handle = nullptr;
  LONG held = 0;
};

// The process-wide presence semaphore, opened during static construction with
// this process's own unit added.
CountedSemaphore& ProductPresenceSemaphore();
// True when the semaphore exists and this process's unit was added.
bool IsPresenceRegistered();
// How many processes of the product family hold a unit, this one included;
// 0 when this process could not register.
LONG CountProductProcesses();

}  // namespace qv
#endif
