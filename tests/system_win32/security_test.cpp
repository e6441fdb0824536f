#include "system/security.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "system/security_api.h"
#include "system/utf16.h"
#include "tests/system_win32/child_process.h"

namespace qv {
namespace {

enum class Who { Users, Administrators, Everyone, System };

const char* NameOf(Who who) {
  switch (who) {
    case Who::Users: return "Users";
    case Who::Administrators: return "Administrators";
    case Who::Everyone: return "Everyone";
    case Who::System: return "System";
  }
  return "?";
}

std::vector<BYTE> SidOf(Who who) {
  WELL_KNOWN_SID_TYPE types[] = {WinBuiltinUsersSid, WinBuiltinAdministratorsSid, WinWorldSid,
                                 WinLocalSystemSid};
  std::vector<BYTE> sid(SECURITY_MAX_SID_SIZE);
  DWORD size = DWORD(sid.size());
  EXPECT_TRUE(CreateWellKnownSid(types[int(who)], nullptr, sid.data(), &size));
  sid.resize(size);
  return sid;
}

// One ACE as the tests write and read it.
struct Ace {
  bool allow;
  Who who;
  DWORD mask;
  BYTE flags;
  bool operator==(const Ace& other) const {
    return allow == other.allow && who == other.who && mask == other.mask && flags == other.flags;
  }
};

std::ostream& operator<<(std::ostream& out, const Ace& ace) {
  return out << (ace.allow ? "allow " : "deny ") << NameOf(ace.who) << " 0x" << std::hex
             << ace.mask << " flags 0x" << int(ace.flags) << std::dec;
}

constexpr BYTE kInherited = INHERITED_ACE;
constexpr DWORD kFull = 0x1F01FF;
constexpr DWORD kRead = 0x1200A9;
constexpr DWORD kGrant = kUsersFileAccessMask;

enum class DaclKind { Absent, Null, Present };

// A descriptor made in the test, standing for what GetFileSecurityW returns.
struct TestDescriptor {
  std::vector<BYTE> acl;
  SECURITY_DESCRIPTOR descriptor = {};

  TestDescriptor(DaclKind kind, const std::vector<Ace>& aces, SECURITY_DESCRIPTOR_CONTROL control) {
    EXPECT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    if (kind == DaclKind::Present) {
      acl.resize(sizeof(ACL) + aces.size() * (sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE));
      PACL list = reinterpret_cast<PACL>(acl.data());
      EXPECT_TRUE(InitializeAcl(list, DWORD(acl.size()), ACL_REVISION));
      for (const Ace& ace : aces) {
        std::vector<BYTE> sid = SidOf(ace.who);
        EXPECT_TRUE(ace.allow ? AddAccessAllowedAceEx(list, ACL_REVISION, ace.flags, ace.mask, sid.data())
                              : AddAccessDeniedAceEx(list, ACL_REVISION, ace.flags, ace.mask, sid.data()));
      }
    }
    if (kind != DaclKind::Absent) {
      PACL list = kind == DaclKind::Null ? nullptr : reinterpret_cast<PACL>(acl.data());
      EXPECT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, list, FALSE));
    }
    const SECURITY_DESCRIPTOR_CONTROL inheritance =
        SE_DACL_AUTO_INHERITED | SE_DACL_AUTO_INHERIT_REQ | SE_DACL_PROTECTED;
    EXPECT_TRUE(SetSecurityDescriptorControl(&descriptor, inheritance, control));
  }
};

std::vector<Ace> AcesOf(PACL acl) {
  std::vector<Ace> aces;
  for (DWORD i = 0; i < acl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    if (!GetAce(acl, i, reinterpret_cast<void**>(&ace))) break;
    Ace read = {ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE, Who::System, ace->Mask,
                ace->Header.AceFlags};
    for (Who who : {Who::Users, Who::Administrators, Who::Everyone, Who::System}) {
      if (EqualSid(&ace->SidStart, SidOf(who).data())) read.who = who;
    }
    aces.push_back(read);
  }
  return aces;
}

PACL DaclOf(PSECURITY_DESCRIPTOR descriptor) {
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present) return nullptr;
  return dacl;
}

SECURITY_DESCRIPTOR_CONTROL ControlOf(PSECURITY_DESCRIPTOR descriptor) {
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  return control & (SE_DACL_AUTO_INHERITED | SE_DACL_AUTO_INHERIT_REQ | SE_DACL_PROTECTED);
}

struct GrantCase {
  const char* name;
  DaclKind kind;
  std::vector<Ace> before;
  SECURITY_DESCRIPTOR_CONTROL controlBefore;
  std::vector<Ace> after;
  SECURITY_DESCRIPTOR_CONTROL controlAfter;
};

std::ostream& operator<<(std::ostream& out, const GrantCase& c) { return out << c.name; }

const Ace kUsersGrant = {true, Who::Users, kGrant, 0};

class UsersGrantDescriptor : public ::testing::TestWithParam<GrantCase> {};

TEST_P(UsersGrantDescriptor, HoldsOneUsersAllowAceBetweenExplicitAndInheritedOnes) {
  const GrantCase& c = GetParam();
  TestDescriptor current(c.kind, c.before, c.controlBefore);
  OwnedDescriptor granted;
  HRESULT error = E_FAIL;
  ASSERT_TRUE(BuildUsersGrantDescriptor(&current.descriptor, kGrant, granted, &error))
      << std::hex << error;
  EXPECT_TRUE(IsValidSecurityDescriptor(granted.descriptor.Descriptor()));
  PACL dacl = DaclOf(granted.descriptor.Descriptor());
  ASSERT_NE(dacl, nullptr);
  EXPECT_EQ(dacl->AclRevision, ACL_REVISION);
  EXPECT_EQ(AcesOf(dacl), c.after);
  EXPECT_EQ(ControlOf(granted.descriptor.Descriptor()), c.controlAfter);

  // Granting again with the same mask changes nothing.
  OwnedDescriptor twice;
  ASSERT_TRUE(BuildUsersGrantDescriptor(granted.descriptor.Descriptor(), kGrant, twice));
  EXPECT_EQ(AcesOf(DaclOf(twice.descriptor.Descriptor())), c.after);
  EXPECT_EQ(ControlOf(twice.descriptor.Descriptor()), c.controlAfter);
}

const SECURITY_DESCRIPTOR_CONTROL kAutoInherited = SE_DACL_AUTO_INHERITED;
const SECURITY_DESCRIPTOR_CONTROL kAutoInheritedAndRequested =
    SE_DACL_AUTO_INHERITED | SE_DACL_AUTO_INHERIT_REQ;

INSTANTIATE_TEST_SUITE_P(
    Cases, UsersGrantDescriptor,
    ::testing::Values(
        GrantCase{"every earlier Users ACE, allow or deny, explicit or inherited, goes",
                  DaclKind::Present,
                  {{true, Who::Administrators, kFull, 0},
                   {false, Who::Users, DELETE, 0},
                   {true, Who::Users, kRead, 0},
                   {true, Who::System, kFull, 0},
                   {true, Who::Everyone, kRead, kInherited},
                   {true, Who::Users, kFull, kInherited},
                   {false, Who::Users, kRead, kInherited}},
                  0,
                  {{true, Who::Administrators, kFull, 0},
                   {true, Who::System, kFull, 0},
                   kUsersGrant,
                   {true, Who::Everyone, kRead, kInherited}},
                  0},
        GrantCase{"a wholly inherited DACL gets the new ACE first and stays auto-inherited",
                  DaclKind::Present,
                  {{true, Who::Administrators, kFull, kInherited},
                   {true, Who::Users, kRead, kInherited},
                   {true, Who::Everyone, kRead, kInherited}},
                  kAutoInherited,
                  {kUsersGrant,
                   {true, Who::Administrators, kFull, kInherited},
                   {true, Who::Everyone, kRead, kInherited}},
                  kAutoInheritedAndRequested},
        GrantCase{"a protected DACL stays protected",
                  DaclKind::Present,
                  {{true, Who::Administrators, kFull, 0}, {true, Who::Users, kFull, 0}},
                  SE_DACL_PROTECTED,
                  {{true, Who::Administrators, kFull, 0}, kUsersGrant},
                  SE_DACL_PROTECTED},
        GrantCase{"auto-inherited wins over protected",
                  DaclKind::Present,
                  {{true, Who::System, kFull, kInherited}},
                  SE_DACL_AUTO_INHERITED | SE_DACL_PROTECTED,
                  {kUsersGrant, {true, Who::System, kFull, kInherited}},
                  kAutoInheritedAndRequested},
        GrantCase{"explicit ACEs only: the new ACE is appended",
                  DaclKind::Present,
                  {{true, Who::Administrators, kFull, 0}, {false, Who::Everyone, DELETE, 0}},
                  0,
                  {{true, Who::Administrators, kFull, 0}, {false, Who::Everyone, DELETE, 0},
                   kUsersGrant},
                  0},
        GrantCase{"an empty DACL", DaclKind::Present, {}, 0, {kUsersGrant}, 0},
        GrantCase{"no DACL at all", DaclKind::Absent, {}, 0, {kUsersGrant}, 0},
        GrantCase{"a null DACL", DaclKind::Null, {}, 0, {kUsersGrant}, 0}));

TEST(SingleAceDacl, HoldsExactlyOneAllowAceForTheKind) {
  struct Case {
    WellKnownSidKind kind;
    Who who;
    DWORD mask;
  };
  for (const Case& c : {Case{WellKnownSidKind::Everyone, Who::Everyone, 0x1F0001},
                        Case{WellKnownSidKind::Administrators, Who::Administrators, 3},
                        Case{WellKnownSidKind::Users, Who::Users, kGrant}}) {
    SecurityBuffer acl = BuildSingleAceDacl(c.kind, c.mask);
    EXPECT_EQ(acl.size, SidOf(c.who).size() + 16);
    EXPECT_EQ(acl.Acl()->AclRevision, ACL_REVISION);
    EXPECT_EQ(acl.Acl()->AclSize, acl.size);
    EXPECT_EQ(AcesOf(acl.Acl()), (std::vector<Ace>{{true, c.who, c.mask, 0}})) << NameOf(c.who);
  }
}

TEST(SecurityApiErrors, FailuresThrowTheMatchingHresult) {
  auto thrown = [](auto call) -> HRESULT {
    try {
      call();
    } catch (HRESULT result) {
      return result;
    }
    return S_OK;
  };
  BYTE garbage[16] = {9, 9, 9, 9};
  SidHolder users = BuildWellKnownSid(WellKnownSidKind::Users);
  EXPECT_EQ(thrown([] { SecurityApi::GetLengthSid(nullptr); }), E_INVALIDARG);
  EXPECT_EQ(thrown([&] { SecurityApi::GetLengthSid(garbage); }), E_INVALIDARG);
  EXPECT_EQ(thrown([&] { SecurityApi::EqualSid(users.get(), garbage); }), E_INVALIDARG);
  EXPECT_FALSE(SecurityApi::IsValidSid(nullptr));
  EXPECT_FALSE(SecurityApi::IsValidSid(garbage));
  DWORD needed = 0;
  EXPECT_EQ(thrown([&] {
              SecurityApi::GetFileSecurityW(L"C:\\no such folder\\no such file", nullptr, 0,
                                            &needed);
            }),
            HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
  LUID luid = {};
  EXPECT_EQ(thrown([&] { SecurityApi::LookupPrivilegeValueW(L"SeNoSuchPrivilege", &luid); }),
            HRESULT_FROM_WIN32(ERROR_NO_SUCH_PRIVILEGE));
}

TEST(Administrator, WineUserCountsAsAdministratorByBothTests) {
  // Measured under Wine: CheckTokenMembership reports membership of Administrators.
  EXPECT_TRUE(IsUserAdministrator());
  EXPECT_TRUE(IsUserAdministratorByAccessCheck());
}

TEST(Administrator, TokenWithAdministratorsOnlyForDenyIsNoAdministrator) {
  // A restricted token whose Administrators group counts for deny only plays the
  // standard user; CheckTokenMembership asks the impersonated token.
  HANDLE process = nullptr, restricted = nullptr, impersonation = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &process));
  std::vector<BYTE> administrators = SidOf(Who::Administrators);
  SID_AND_ATTRIBUTES denyOnly = {administrators.data(), 0};
  ASSERT_TRUE(CreateRestrictedToken(process, 0, 1, &denyOnly, 0, nullptr, 0, nullptr, &restricted));
  ASSERT_TRUE(DuplicateToken(restricted, SecurityImpersonation, &impersonation));
  ASSERT_TRUE(SetThreadToken(nullptr, impersonation));
  bool administrator = IsUserAdministrator();
  RevertToSelf();
  CloseHandle(impersonation);
  CloseHandle(restricted);
  CloseHandle(process);
  EXPECT_FALSE(administrator);
  EXPECT_TRUE(IsUserAdministrator()) << "the process itself is administrator again";
}

std::wstring TempFile(const wchar_t* stem) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + test_support::UniqueName(stem);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  return path;
}

TEST(GrantFileAccessOnDisk, ExistingFileAndFolderAreGrantedAndMissingPathFails) {
  // Wine does not keep a DACL written to a file (it reads back one made from the Unix
  // mode bits), so the DACL itself is checked on descriptors made in the tests above.
  std::wstring file = TempFile(L"qvgrant");
  EXPECT_TRUE(GrantFileAccess(file.c_str(), kGrant));
  EXPECT_TRUE(GrantFileAccess(file.c_str(), kGrant));
  DeleteFileW(file.c_str());

  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  EXPECT_TRUE(GrantFileAccess(folder, kGrant));

  EXPECT_FALSE(GrantFileAccess(file.c_str(), kGrant));
}

bool PrivilegeEnabled(const wchar_t* name) {
  LUID luid = {};
  HANDLE token = nullptr;
  if (!LookupPrivilegeValueW(nullptr, name, &luid) ||
      !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    return false;
  }
  DWORD size = 0;
  GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
  std::vector<BYTE> buffer(size);
  bool enabled = false;
  if (GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size)) {
    auto privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& entry = privileges->Privileges[i];
      if (entry.Luid.LowPart == luid.LowPart && entry.Luid.HighPart == luid.HighPart) {
        enabled = (entry.Attributes & SE_PRIVILEGE_ENABLED) != 0;
      }
    }
  }
  CloseHandle(token);
  return enabled;
}

TEST(TokenPrivilege, BackupAndRestorePrivilegesSwitchOnAndOff) {
  for (const wchar_t* name : {L"SeBackupPrivilege", L"SeRestorePrivilege"}) {
    SCOPED_TRACE(Utf16ToUtf8(FromWide(name)));
    ASSERT_TRUE(SetTokenPrivilege(name, true));
    EXPECT_TRUE(PrivilegeEnabled(name));
    ASSERT_TRUE(SetTokenPrivilege(name, false));
    EXPECT_FALSE(PrivilegeEnabled(name));
    ASSERT_TRUE(SetTokenPrivilege(name, false)) << "disabling twice is not a failure";
    EXPECT_FALSE(PrivilegeEnabled(name));
  }
}

TEST(TokenPrivilege, TokenWithoutThePrivilegeCannotEnableIt) {
  // The helper drops SeBackupPrivilege from its own token first; Wine supports that.
  const int kBackupEnabled = 1, kRestoreEnabled = 2;
  EXPECT_EQ(test_support::RunToExit(test_support::SiblingProgram(L"named_objects_helper.exe"),
                                    L"lacking-backup"),
            kRestoreEnabled)
      << "bit " << kBackupEnabled << " means the missing privilege counted as enabled";
}

TEST(TokenPrivilege, UnknownPrivilegeFails) {
  EXPECT_FALSE(SetTokenPrivilege(L"SeNoSuchPrivilege", true));
}

}  // namespace
}  // namespace qv
