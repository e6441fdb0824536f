#include "tools/qvpack/manifest.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/archive_format.h"
#include "system/utf16.h"
#include "tests/packer/packer_test_files.h"

namespace {

using qv::ManifestEntry;

struct BadManifest {
  const char* name;
  std::string text;
  std::string where;    // "m.txt:LINE"
  std::string message;  // part of the error text
};

void PrintTo(const BadManifest& c, std::ostream* os) { *os << c.name; }

std::string LongDestination(size_t units) {
  std::string path = "<InstallPath>\\";
  while (path.size() < units) path += 'x';
  return path;
}

class ManifestRejects : public ::testing::TestWithParam<BadManifest> {};

TEST_P(ManifestRejects, NamesFileLineAndFault) {
  std::vector<ManifestEntry> entries;
  std::string error;
  EXPECT_FALSE(qv::ParseManifest(GetParam().text, "m.txt", "dir", entries, error));
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(error.rfind(GetParam().where + ":", 0), 0u) << error;
  EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
}

const std::string kGood = "file\tcompressed\t<InstallPath>\\a.txt\ta.txt\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, ManifestRejects,
    ::testing::Values(
        BadManifest{"UnknownKind", kGood + "library\tstored\t<InstallPath>\\b\tb\n", "m.txt:2",
                    "unknown kind 'library'"},
        BadManifest{"UnknownMode", "# c\nfile\tzipped\t<InstallPath>\\b\tb\n", "m.txt:2",
                    "unknown mode 'zipped'"},
        BadManifest{"ThreeFields", "file\tstored\t<InstallPath>\\b\n", "m.txt:1",
                    "expected 4 tab-separated fields"},
        BadManifest{"FiveFields", "file\tstored\t<InstallPath>\\b\tb\tc\n", "m.txt:1",
                    "found 5"},
        BadManifest{"SpacesInsteadOfTabs", "file stored <InstallPath>\\b b\n", "m.txt:1",
                    "found 1"},
        BadManifest{"EmptySource", "file\tstored\t<InstallPath>\\b\t\n", "m.txt:1",
                    "source is empty"},
        BadManifest{"NoMacro", "file\tstored\tC:\\Program Files\\b\tb\n", "m.txt:1",
                    "must begin with a folder macro"},
        BadManifest{"UnknownMacro", "file\tstored\t<Temp>\\b\tb\n", "m.txt:1",
                    "must begin with a folder macro"},
        BadManifest{"MacroInOtherCase", "file\tstored\t<installpath>\\b\tb\n", "m.txt:1",
                    "must begin with a folder macro"},
        BadManifest{"MacroWithoutFileName", "file\tstored\t<InstallPath>\tb\n", "m.txt:1",
                    "must begin with a folder macro"},
        BadManifest{"LeavesFolder", "file\tstored\t<InstallPath>\\..\\evil.dll\tb\n", "m.txt:1",
                    "leaves its folder"},
        BadManifest{"LeavesFolderLater", "file\tstored\t<CommonData>\\a\\..\\..\\x\tb\n",
                    "m.txt:1", "leaves its folder"},
        BadManifest{"LeavesFolderBySlash", "file\tstored\t<InstallPath>\\a/../../x\tb\n",
                    "m.txt:1", "leaves its folder"},
        BadManifest{"SecondMacro", "file\tstored\t<InstallPath>\\<WinDir>\\x\tb\n", "m.txt:1",
                    "cannot hold"},
        BadManifest{"TrailingBackslash", "file\tstored\t<InstallPath>\\sub\\\tb\n", "m.txt:1",
                    "empty folder or file name"},
        BadManifest{"TooLong", "file\tstored\t" + LongDestination(260) + "\tb\n", "m.txt:1",
                    "at most 259"},
        BadManifest{"TooLongInUtf16Units",  // 254 + 3 surrogate pairs = 260 units
                    "file\tstored\t" + LongDestination(254) +
                        "\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\tb\n",
                    "m.txt:1", "at most 259"},
        BadManifest{"SameDestinationTwice",
                    kGood + "file\tstored\t<InstallPath>\\A.TXT\tb\n", "m.txt:2",
                    "already written by m.txt:1"},
        BadManifest{"InvalidUtf8", "file\tstored\t<InstallPath>\\\xC3\x28\tb\n", "m.txt:1",
                    "not valid UTF-8"},
        BadManifest{"Empty", "", "m.txt", "no entries"},
        BadManifest{"OnlyComments", "# nothing\n\n   \n#\tfile\n", "m.txt", "no entries"}),
    [](const ::testing::TestParamInfo<BadManifest>& info) { return info.param.name; });

TEST(ManifestParse, ReadsKindsModesAndResolvesSources) {
  const std::string text =
      "\xEF\xBB\xBF# kind\tmode\tdestination\tsource\r\n"
      "\r\n"
      "file\tcompressed\t<InstallPath>\\Lang\\fr.dll\tlang/fr.dll\r\n"
      "program\tstored\t<InstallPath>\\Vantrel.exe\tVantrel.exe\n"
      "uninstaller\tcompressed\t<InstallPath>\\Uninstall.exe\t/abs/u.exe\n"
      "keep-existing\tstored\t<CommonData>\\Quorvik\\shared.dat\tshared.dat\n"
      "not-on-update\tcompressed\t<SamplePath>\\Exemple é.vnt\texemple.vnt\n";
  std::vector<ManifestEntry> entries;
  std::string error;
  ASSERT_TRUE(qv::ParseManifest(text, "m.txt", "/pkg", entries, error)) << error;
  ASSERT_EQ(entries.size(), 5u);
  const uint32_t kinds[] = {qv::ENTRY_KIND_FILE, qv::ENTRY_KIND_PROGRAM, qv::ENTRY_KIND_UNINSTALLER,
                            qv::ENTRY_KIND_KEEP_EXISTING, qv::ENTRY_KIND_NOT_ON_UPDATE};
  const bool compressed[] = {true, false, true, false, true};
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].kind, kinds[i]) << i;
    EXPECT_EQ(entries[i].compressed, compressed[i]) << i;
  }
  EXPECT_EQ(entries[0].destination, u"<InstallPath>\\Lang\\fr.dll");
  EXPECT_EQ(entries[0].sourcePath, "/pkg/lang/fr.dll");
  EXPECT_EQ(entries[0].origin, "m.txt:3");
  EXPECT_EQ(entries[2].sourcePath, "/abs/u.exe");
  EXPECT_EQ(entries[4].destination, u"<SamplePath>\\Exemple \u00e9.vnt");
}

TEST(ManifestParse, AcceptsEveryFolderMacroAndTheLongestPath) {
  const char* const macros[] = {"<InstallPath>", "<SamplePath>",   "<ProgramFiles>",
                                "<ProgramCommon>", "<CommonData>", "<UserData>",
                                "<CommonDocuments>", "<Documents>", "<CommonDesktop>",
                                "<Desktop>",       "<WinDir>",     "<System>"};
  for (const char* macro : macros) {
    EXPECT_EQ(qv::CheckDestination(qv::Utf8ToUtf16(std::string(macro) + "\\f")), "") << macro;
  }
  EXPECT_EQ(qv::CheckDestination(qv::Utf8ToUtf16(LongDestination(259))), "");
}

class ManifestSources : public ::testing::Test {
 protected:
  std::string Read(const std::string& text, std::vector<ManifestEntry>& entries) {
    qv_test::WriteText(dir_ / "m.txt", text);
    std::string error;
    const bool read = qv::ReadManifest(dir_ / "m.txt", entries, error);
    EXPECT_EQ(read, error.empty()) << error;
    return error;
  }
  qv_test::ScratchDir dir_;
};

TEST_F(ManifestSources, ResolvesAgainstTheManifestFolder) {
  qv_test::WriteText(dir_ / "files/a.txt", "a");
  std::vector<ManifestEntry> entries;
  EXPECT_EQ(Read("file\tstored\t<InstallPath>\\a.txt\tfiles/a.txt\n", entries), "");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].sourcePath, dir_ / "files/a.txt");
}

TEST_F(ManifestSources, MissingSourceNamesLineAndFile) {
  qv_test::WriteText(dir_ / "a.txt", "a");
  std::vector<ManifestEntry> entries;
  std::string error = Read(
      "file\tstored\t<InstallPath>\\a\ta.txt\nfile\tstored\t<InstallPath>\\b\tgone.txt\n", entries);
  EXPECT_NE(error.find("m.txt:2: source '" + (dir_ / "gone.txt") + "' cannot be read"),
            std::string::npos)
      << error;
  EXPECT_TRUE(entries.empty());
}

TEST_F(ManifestSources, FolderAsSourceIsRejected) {
  qv_test::WriteText(dir_ / "sub/x", "x");
  std::vector<ManifestEntry> entries;
  std::string error = Read("file\tstored\t<InstallPath>\\a\tsub\n", entries);
  EXPECT_NE(error.find("m.txt:1: source"), std::string::npos) << error;
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST_F(ManifestSources, MissingManifestIsReported) {
  std::vector<ManifestEntry> entries;
  std::string error;
  EXPECT_FALSE(qv::ReadManifest(dir_ / "none.txt", entries, error));
  EXPECT_NE(error.find("none.txt: cannot read the manifest"), std::string::npos) << error;
}

}  // namespace
