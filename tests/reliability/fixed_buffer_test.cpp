// Texts and paths around the 260-unit fields (259 units and a terminator): the
// engine cuts expanded paths to 259 everywhere, and the macro expansion itself
// neither cuts nor overruns.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "archive/archive_extractor.h"
#include "archive/path_macros.h"
#include "tests/archive/archive_builder.h"

namespace qv {
namespace {

using test::Bytes;

TEST(FixedBuffers, MacroExpansionKeepsLongFoldersAndPathsWhole) {
  for (size_t length : {259u, 260u, 261u, 1000u}) {
    SCOPED_TRACE("length " + std::to_string(length));
    const std::u16string folder(length, u'f');
    const std::u16string plain(length, u'p');
    EXPECT_EQ(ExpandPathMacros(folder, u"", plain), plain);
    EXPECT_EQ(ExpandPathMacros(folder, u"", u"<InstallPath>\\n"), folder + u"\\n");
    EXPECT_EQ(ExpandPathMacros(folder, u"", u"<InstallPath>" + plain), folder + plain);
    EXPECT_EQ(ExpandPathMacros(folder, u"", u"<" + plain), u"<" + plain);
  }
}

struct Destination {
  std::u16string expanded;
  int32_t code = 0;
};

int32_t RememberBegin(const ExtractEvent* event) {
  if (event->code == EXTRACT_ENTRY_BEGIN) static_cast<Destination*>(event->owner)->expanded = event->entryPath;
  return EXTRACT_CONTINUE;
}

// The destination expands to the given length: one long name after the
// installation folder, or (1000 units, beyond what a stored path can hold) a long
// system folder value; the cut at 259 falls inside that name.
class ExpandedLength : public ::testing::TestWithParam<size_t> {};

TEST_P(ExpandedLength, IsCutTo259InEventsAndOnDisk) {
  test::TempFolder folder;
  CArchiveExtractor engine;
  engine.Setup((folder.path() / "i").u16string());
  const std::u16string& install = engine.installFolder;
  const size_t length = GetParam();
  std::u16string stored;
  if (install.size() + 1 + 245 >= length) {
    stored = u"<InstallPath>\\" + std::u16string(length - install.size() - 1, u'x');
  } else {
#ifdef _WIN32
    GTEST_SKIP() << "system folders are the system's own under Windows";
#else
    SetMacroFolder(u"CommonData", install + u"\\" + std::u16string(length - install.size() - 4, u'x'));
    stored = u"<CommonData>\\yy";
#endif
  }
  ASSERT_LE(stored.size(), 259u);
  const std::u16string name(258 - install.size(), u'x');
  const std::u16string cut = install + u"\\" + name;
  const Bytes data = test::PatternBytes(100, 3);
  test::WriteBytes(folder.path() / "payload.bin", test::BuildContainer({{stored, data}}));

  Destination seen;
  engine.SetCallback(&RememberBegin, &seen);
  const bool done = engine.Extract((folder.path() / "payload.bin").u16string());
#ifndef _WIN32
  ClearMacroFolders();
#endif
  ASSERT_TRUE(done) << "status " << engine.status << ", error " << engine.systemError;
  EXPECT_EQ(seen.expanded, cut);
  const auto files = folder.Files();
  ASSERT_EQ(files.size(), 2u);  // the container and the one destination
  EXPECT_EQ(test::ReadBytes(folder.path() / "i" / std::filesystem::path(name)), data);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ExpandedLength, ::testing::Values(259, 260, 261, 1000));

}  // namespace
}  // namespace qv
