#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/previous_installation.h"
#include "app/setup_state.h"
#include "install/product_key.h"
#include "system/utf16.h"
#include "tests/install/scratch_folder.h"

namespace qv {
namespace {

using test::ScratchFolder;

std::wstring ProductKeyPath() {
  return std::wstring(AsWide(kUninstallKeyPath)) + L"\\" + AsWide(kProductKeyName);
}

std::u16string Fixture(const char* name) {
  std::string path = std::string(QV_PRODUCT_FIXTURE_DIR_BIN) + "/" + name;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return Utf8ToUtf16(path);
}

// The product key as an installation leaves it, removed again after each test.
class InstalledProductTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str()); }
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str()); }

  static void Install(const std::u16string* mainProgram, const std::u16string* uninstaller) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, ProductKeyPath().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    auto set = [&](const char16_t* name, const std::u16string& value) {
      RegSetValueExW(key, AsWide(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(AsWide(value)),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    if (mainProgram) set(kInstalledProgramValue, *mainProgram);
    if (uninstaller) set(u"UninstallString", *uninstaller);
    RegCloseKey(key);
  }
};

TEST_F(InstalledProductTest, TheInstalledProgramsVersionDecidesTheState) {
  struct Case {
    const char* program;
    std::int32_t state;
    bool versionText;
  };
  for (const Case& c : {Case{"product_fixture.exe", PREVIOUS_SAME, false},
                        Case{"product_fixture_older.exe", PREVIOUS_OLDER, true},
                        Case{"product_fixture_newer.exe", PREVIOUS_NEWER, true}}) {
    const std::u16string program = Fixture(c.program);
    Install(&program, nullptr);
    SetupState state;
    state.installedVersionText = u"stale";
    ASSERT_TRUE(DetectPreviousInstallation(state)) << c.program;
    EXPECT_EQ(state.previousInstallState, c.state) << c.program;
    EXPECT_EQ(!state.installedVersionText.empty(), c.versionText)
        << c.program << ": " << Utf16ToUtf8(state.installedVersionText);
  }
}

TEST_F(InstalledProductTest, NoKeyIsNoInstallationAndAnUnknownProgramIsTheSameVersion) {
  SetupState state;
  ASSERT_TRUE(DetectPreviousInstallation(state));
  EXPECT_EQ(state.previousInstallState, PREVIOUS_NONE);
  Install(nullptr, nullptr);
  ASSERT_TRUE(DetectPreviousInstallation(state));
  EXPECT_EQ(state.previousInstallState, PREVIOUS_SAME);
  EXPECT_TRUE(state.installedVersionText.empty());
}

TEST_F(InstalledProductTest, AnInstalledProgramWithoutReadableVersionStopsTheSetup) {
  ScratchFolder scratch;
  const std::u16string gone = scratch.Child(u"Vantrel.exe");
  Install(&gone, nullptr);
  SetupState state;
  EXPECT_FALSE(DetectPreviousInstallation(state));
}

TEST_F(InstalledProductTest, TheLogBesideTheProgramIsFoundWhenTheUninstallersFolderHasNone) {
  ScratchFolder scratch;
  std::filesystem::create_directory(std::filesystem::path(scratch.Child(u"prog")));
  std::filesystem::create_directory(std::filesystem::path(scratch.Child(u"uninst")));
  const std::u16string program = scratch.Child(u"prog") + u"\\Vantrel.exe";
  const std::u16string uninstaller = scratch.Child(u"uninst") + u"\\Uninstall.exe";
  const std::u16string programLog = scratch.Child(u"prog") + u"\\Uninstall.ulog";
  std::ofstream(std::filesystem::path(programLog)) << "log";
  Install(&program, &uninstaller);
  EXPECT_EQ(Utf16ToUtf8(LocateUninstallLog()), Utf16ToUtf8(programLog));

  const std::u16string uninstallerLog = scratch.Child(u"uninst") + u"\\Uninstall.ulog";
  std::ofstream(std::filesystem::path(uninstallerLog)) << "log";
  EXPECT_EQ(Utf16ToUtf8(LocateUninstallLog()), Utf16ToUtf8(uninstallerLog));
}

}  // namespace
}  // namespace qv
