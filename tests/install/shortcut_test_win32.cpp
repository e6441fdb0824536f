#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "install/shortcut.h"
#include "system/file_io.h"
#include "system/utf16.h"
#include "tests/install/scratch_folder.h"

namespace qv {
namespace {

using test::ScratchFolder;

struct LinkContent {
  std::wstring target;
  std::wstring workingFolder;
};

// Loads the link file through the shell's own link object.
bool ReadLink(const std::u16string& path, LinkContent* content) {
  if (FAILED(CoInitialize(nullptr))) return false;
  bool ok = false;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(AsWide(path), STGM_READ))) {
        wchar_t buffer[MAX_PATH] = {};
        link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
        content->target = buffer;
        buffer[0] = 0;
        link->GetWorkingDirectory(buffer, MAX_PATH);
        content->workingFolder = buffer;
        ok = true;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return ok;
}

TEST(CreateShortcutTest, TheWrittenLinkOpensTheTargetInItsFolderAndReplacesAnEarlierOne) {
  ScratchFolder scratch;
  const std::u16string program = scratch.Child(u"Tool.exe");
  std::ofstream(std::filesystem::path(program)) << "MZ";
  const std::u16string other = scratch.Child(u"Other.exe");
  std::ofstream(std::filesystem::path(other)) << "MZ";

  std::u16string linkPath = u"before";
  ASSERT_TRUE(CreateShortcut(nullptr, other, scratch.Path(), &linkPath));
  ASSERT_TRUE(CreateShortcut(nullptr, program, scratch.Path(), nullptr));
  const std::u16string name = u"Tool";
  ASSERT_TRUE(CreateShortcut(&name, program, scratch.Path(), &linkPath));
  EXPECT_EQ(Utf16ToUtf8(linkPath), Utf16ToUtf8(scratch.Child(u"Tool.lnk")));

  LinkContent content;
  ASSERT_TRUE(ReadLink(linkPath, &content));
  EXPECT_EQ(Utf16ToUtf8(FromWide(content.target.c_str())), Utf16ToUtf8(program));
  EXPECT_EQ(Utf16ToUtf8(FromWide(content.workingFolder.c_str())), Utf16ToUtf8(scratch.Path()));
}

TEST(CreateShortcutTest, FailuresWriteNothingAndKeepTheOutput) {
  ScratchFolder scratch;
  std::u16string linkPath = u"before";
  const std::u16string name = u"Name";
  EXPECT_FALSE(CreateShortcut(&name, u"", scratch.Path(), &linkPath));
  EXPECT_FALSE(FileExists(scratch.Child(u"Name.lnk")));
  const std::u16string missing = scratch.Child(u"missing");
  EXPECT_FALSE(CreateShortcut(&name, scratch.Child(u"Tool.exe"), missing, &linkPath))
      << "folders are not created here";
  EXPECT_FALSE(FileExists(missing));
  EXPECT_EQ(Utf16ToUtf8(linkPath), "before");
}

TEST(CreateShortcutTest, AnotherApartmentOnTheThreadStopsItBeforeWriting) {
  ScratchFolder scratch;
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
  std::u16string linkPath = u"before";
  EXPECT_FALSE(CreateShortcut(nullptr, scratch.Child(u"Tool.exe"), scratch.Path(), &linkPath));
  CoUninitialize();
  EXPECT_FALSE(FileExists(scratch.Child(u"Tool.lnk")));
  EXPECT_EQ(Utf16ToUtf8(linkPath), "before");
}

}  // namespace
}  // namespace qv
