#include "system/named_objects.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/system_win32/child_process.h"

namespace qv {
namespace {

using test_support::ChildProcess;
using test_support::RunToExit;
using test_support::SiblingProgram;
using test_support::UniqueName;

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

std::wstring Helper() { return SiblingProgram(L"named_objects_helper.exe"); }

// Exit codes of the helper's try-guard command.
constexpr int kGuardTaken = 0;
constexpr int kGuardBusy = 1;

TEST(SetupInstanceGuard, SecondProcessIsRefusedWhileHeldAndAdmittedWhileReleased) {
  NamedMutexGuard guard(kSetupGuardName);
  ASSERT_NE(guard.Handle(), nullptr);
  EXPECT_FALSE(guard.IsOwned()) << "construction must not take the mutex";
  EXPECT_EQ(RunToExit(Helper(), L"try-guard"), kGuardTaken);

  ASSERT_TRUE(guard.TryAcquire());
  EXPECT_EQ(RunToExit(Helper(), L"try-guard"), kGuardBusy);

  // Released around the registration run of the installed program.
  guard.Release();
  EXPECT_FALSE(guard.IsOwned());
  EXPECT_EQ(RunToExit(Helper(), L"try-guard"), kGuardTaken);

  ASSERT_TRUE(guard.TryAcquire());
  EXPECT_EQ(RunToExit(Helper(), L"try-guard"), kGuardBusy);
}

TEST(SetupInstanceGuard, DestructionReleasesTheMutex) {
  {
    NamedMutexGuard guard(kSetupGuardName);
    ASSERT_TRUE(guard.TryAcquire());
  }
  EXPECT_EQ(RunToExit(Helper(), L"try-guard"), kGuardTaken);
}

TEST(SetupInstanceGuard, MutexAbandonedByAnEndedCopyCountsAsTaken) {
  ASSERT_EQ(RunToExit(Helper(), L"abandon-guard"), 0);
  NamedMutexGuard guard(kSetupGuardName);
  EXPECT_TRUE(guard.TryAcquire());
  EXPECT_TRUE(guard.IsOwned());
}

TEST(SetupInstanceGuard, GuardWhoseMutexCouldNotBeCreatedNeverAcquires) {
  // A backslash after the prefix names a namespace that does not exist.
  NamedMutexGuard guard(u"No\\Such\\Namespace");
  EXPECT_EQ(guard.Handle(), nullptr);
  EXPECT_FALSE(guard.TryAcquire());
  EXPECT_FALSE(guard.IsOwned());
}

TEST(SharedObjects, SecondCreationReportsAlreadyExistsThroughTheCleanUp) {
  std::u16string name = U16(UniqueName(L"qv.mutex"));
  HANDLE first = CreateSharedMutex(name);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
  HANDLE second = CreateSharedMutex(name);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  CloseHandle(second);
  CloseHandle(first);

  std::u16string semaphoreName = U16(UniqueName(L"qv.semaphore"));
  HANDLE semaphore = CreateSharedSemaphore(semaphoreName, 0, 5);
  ASSERT_NE(semaphore, nullptr);
  HANDLE again = CreateSharedSemaphore(semaphoreName, 0, 5);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
  CloseHandle(again);
  CloseHandle(semaphore);
}

// The object's DACL as the kernel keeps it: one allow ACE for Everyone.
void ExpectEveryoneOnly(HANDLE object, DWORD mask) {
  DWORD needed = 0;
  GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  ASSERT_GT(needed, 0u);
  std::vector<BYTE> buffer(needed);
  ASSERT_TRUE(GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, buffer.data(), needed,
                                      &needed));
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted));
  ASSERT_TRUE(present);
  ASSERT_NE(dacl, nullptr);
  ASSERT_EQ(dacl->AceCount, 1);
  ACCESS_ALLOWED_ACE* ace = nullptr;
  ASSERT_TRUE(GetAce(dacl, 0, reinterpret_cast<void**>(&ace)));
  EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
  EXPECT_EQ(ace->Mask, mask);
  BYTE everyone[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(everyone);
  ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size));
  EXPECT_TRUE(EqualSid(&ace->SidStart, everyone));
}

TEST(SharedObjects, EveryoneGetsAllRightsOfTheObjectKind) {
  HANDLE mutex = CreateSharedMutex(U16(UniqueName(L"qv.mutex")));
  ASSERT_NE(mutex, nullptr);
  ExpectEveryoneOnly(mutex, 0x1F0001);
  CloseHandle(mutex);
  HANDLE semaphore = CreateSharedSemaphore(U16(UniqueName(L"qv.semaphore")), 0, 5);
  ASSERT_NE(semaphore, nullptr);
  ExpectEveryoneOnly(semaphore, 0x1F0003);
  CloseHandle(semaphore);
}

TEST(SharedObjects, WineNamesCarryTheGlobalPrefix) {
  // Wine reports an NT system of version 5 or later.
  EXPECT_EQ(GetGlobalObjectPrefix(), u"Global\\");
  EXPECT_EQ(&GetOsVersion(), &GetOsVersion());
  std::wstring name = UniqueName(L"qv.mutex");
  HANDLE created = CreateSharedMutex(U16(name));
  ASSERT_NE(created, nullptr);
  HANDLE opened = OpenMutexW(SYNCHRONIZE, FALSE, (L"Global\\" + name).c_str());
  EXPECT_NE(opened, nullptr);
  if (opened) CloseHandle(opened);
  CloseHandle(created);
}

class NamedEvent {
 public:
  NamedEvent() : name(UniqueName(L"qv.event")) {
    handle = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  }
  ~NamedEvent() { CloseHandle(handle); }
  std::wstring name;
  HANDLE handle;
};

TEST(ProductPresence, ProbeCountsThisProcessAloneAndEveryOtherHolder) {
  ASSERT_TRUE(IsPresenceRegistered());
  EXPECT_EQ(ProductPresenceSemaphore().Held(), 1);
  EXPECT_EQ(CountProductProcesses(), 1);
  EXPECT_EQ(CountProductProcesses(), 1) << "a probe must leave the count as it was";

  NamedEvent ready, quit;
  ChildProcess holder(Helper(), L"hold " + ready.name + L" " + quit.name);
  ASSERT_TRUE(holder.Valid());
  ASSERT_EQ(WaitForSingleObject(ready.handle, 30000), WAIT_OBJECT_0);
  EXPECT_EQ(CountProductProcesses(), 2);

  SetEvent(quit.handle);
  ASSERT_EQ(holder.Wait(), 0);
  EXPECT_EQ(CountProductProcesses(), 1) << "an ended holder gives its unit back";
}

TEST(ProductPresence, ProductFixtureHoldsAUnitWhileItRuns) {
  NamedEvent quit;
  ChildProcess product(SiblingProgram(L"product_fixture.exe"), L"/Hold " + quit.name);
  ASSERT_TRUE(product.Valid());
  // The fixture has no ready signal; its unit appears once its start-up has run.
  LONG count = 0;
  for (int i = 0; i < 300 && count < 2; ++i, Sleep(50)) count = CountProductProcesses();
  EXPECT_EQ(count, 2);
  SetEvent(quit.handle);
  EXPECT_EQ(product.Wait(), 0);
  EXPECT_EQ(CountProductProcesses(), 1);
}

TEST(ProductPresence, ProductFixtureRegistrationRunEndsWithMinusTenAndIsLogged) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring log = std::wstring(temp) + UniqueName(L"qvfixture") + L".log";
  SetEnvironmentVariableW(L"QV_FIXTURE_LOG", log.c_str());
  EXPECT_EQ(RunToExit(SiblingProgram(L"product_fixture.exe"), L"/Register /Background"), -10);
  EXPECT_EQ(RunToExit(SiblingProgram(L"product_fixture.exe"), L"/Register"), 0);
  SetEnvironmentVariableW(L"QV_FIXTURE_LOG", nullptr);

  HANDLE file = CreateFileW(log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  char text[256] = {};
  DWORD read = 0;
  ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
  CloseHandle(file);
  DeleteFileW(log.c_str());
  EXPECT_STREQ(text, "/Register /Background\n/Register\n");
}

TEST(CountedSemaphoreUnits, TakingMoreUnitsThanThereAreGivesEveryTakenUnitBack) {
  std::u16string name = U16(UniqueName(L"qv.units"));
  CountedSemaphore observer(name, 0, 10);
  {
    CountedSemaphore holder(name, 0, 10);
    ASSERT_TRUE(holder.AddUnit());
    ASSERT_TRUE(holder.AddUnit());
    EXPECT_EQ(holder.Held(), 2);

    EXPECT_FALSE(holder.TakeUnits(3));
    EXPECT_EQ(holder.Held(), 2);
    EXPECT_EQ(observer.ProbeCount(), 2);

    EXPECT_TRUE(holder.TakeUnits(1));
    EXPECT_EQ(holder.Held(), 1);
    EXPECT_EQ(observer.ProbeCount(), 1);
    ASSERT_TRUE(holder.AddUnit());
  }
  EXPECT_EQ(observer.ProbeCount(), 0) << "destruction takes back every unit it held";
}

TEST(CountedSemaphoreUnits, ProbeAtTheMaximumCountYieldsZero) {
  CountedSemaphore full(U16(UniqueName(L"qv.full")), 0, 1);
  ASSERT_TRUE(full.AddUnit());
  EXPECT_EQ(full.ProbeCount(), 0);
  EXPECT_FALSE(full.AddUnit());
  EXPECT_EQ(full.Held(), 1);
}

TEST(CountedSemaphoreUnits, SemaphoreThatCouldNotBeCreatedHoldsNothing) {
  CountedSemaphore missing(u"No\\Such\\Namespace", 0, 10);
  EXPECT_EQ(missing.Handle(), nullptr);
  EXPECT_FALSE(missing.AddUnit());
  EXPECT_EQ(missing.ProbeCount(), 0);
  EXPECT_FALSE(missing.TakeUnits(1));
}

}  // namespace
}  // namespace qv
