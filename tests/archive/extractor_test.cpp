#include "archive/archive_extractor.h"

#include <gtest/gtest.h>

#include <functional>

#include "archive/checksum.h"
#include "archive/path_macros.h"
#include "tests/archive/archive_builder.h"

namespace qv {
namespace {

using test::BitWriter;
using test::Bytes;
using test::TestEntry;

struct Recorded {
  uint32_t code;
  uint32_t totalBytes;
  uint32_t doneBytes;
  uint32_t entrySize;
  uint32_t entryDone;
  std::u16string path;
  uint32_t kind;
  int32_t status;
};

using Reply = std::function<int32_t(size_t index, const ExtractEvent& event)>;

class Recorder {
 public:
  static int32_t Callback(const ExtractEvent* event) {
    auto* self = static_cast<Recorder*>(event->owner);
    self->events.push_back({event->code, event->totalBytes, event->doneBytes, event->entrySize, event->entryDone,
                            event->entryPath ? std::u16string(event->entryPath) : std::u16string(),
                            event->entryKind, event->extractor->status});
    return self->reply ? self->reply(self->events.size() - 1, *event) : EXTRACT_CONTINUE;
  }
  std::vector<uint32_t> Codes() const {
    std::vector<uint32_t> codes;
    for (const Recorded& e : events) codes.push_back(e.code);
    return codes;
  }
  size_t Count(uint32_t code) const {
    size_t n = 0;
    for (const Recorded& e : events) n += e.code == code;
    return n;
  }

  std::vector<Recorded> events;
  Reply reply;
};

constexpr uint32_t P = EXTRACT_PROGRESS;
constexpr uint32_t EB = EXTRACT_ENTRY_BEGIN;
constexpr uint32_t EE = EXTRACT_ENTRY_END;

class ExtractorTest : public ::testing::Test {
 protected:
  ExtractorTest() {
    engine.Setup(Install().u16string());
    engine.SetCallback(&Recorder::Callback, &recorder);
  }
  std::filesystem::path Install() const { return folder.path() / "inst"; }
  std::filesystem::path Container() const { return folder.path() / "payload.bin"; }
  bool RunContainer(const Bytes& container) {
    test::WriteBytes(Container(), container);
    return engine.Extract(Container().u16string());
  }
  bool Run(const std::vector<TestEntry>& entries) { return RunContainer(test::BuildContainer(entries)); }
  // Files the run left in the installation folder.
  std::vector<std::filesystem::path> Installed() const {
    std::vector<std::filesystem::path> out;
    if (!std::filesystem::exists(Install())) return out;
    for (auto& item : std::filesystem::recursive_directory_iterator(Install())) {
      if (item.is_regular_file()) out.push_back(item.path());
    }
    return out;
  }
  void ExpectFailedOnce(int32_t status) {
    EXPECT_EQ(engine.status, status);
    EXPECT_EQ(recorder.Count(EXTRACT_FAILED), 1u);
    ASSERT_FALSE(recorder.events.empty());
    EXPECT_EQ(recorder.events.back().code, EXTRACT_FAILED);
    EXPECT_EQ(recorder.events.back().status, status);  // set before the event
    EXPECT_TRUE(folder.QvTemporaries().empty());
  }

  test::TempFolder folder;
  CArchiveExtractor engine;
  Recorder recorder;
};

const std::vector<TestEntry> kTwoEntries = {
    {u"<InstallPath>\\a.txt", test::PatternBytes(10, 1), true, ENTRY_KIND_PROGRAM},
    {u"<InstallPath>\\sub\\b.bin", test::PatternBytes(300, 2), true, ENTRY_KIND_KEEP_EXISTING},
};

TEST_F(ExtractorTest, CleanRunSendsEventsInOrderAndWritesEveryFile) {
  ASSERT_TRUE(Run(kTwoEntries));
  // Directory of 1070 bytes: decode-step progress at 256, 512, 768, 1024;
  // entry b (bytes 1080..1379) gets one at 1337.
  EXPECT_EQ(recorder.Codes(), (std::vector<uint32_t>{EXTRACT_BEGIN, EXTRACT_ARCHIVE_OK, P, P, P, P, EB, P, P, EE,
                                                     EB, P, P, P, EE, EXTRACT_VERIFYING, EXTRACT_DONE}));
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(recorder.events[i].totalBytes, 0u) << i;
  EXPECT_EQ(recorder.events[2].doneBytes, 256u);
  EXPECT_EQ(recorder.events[2].entrySize, 1070u);
  EXPECT_EQ(recorder.events[2].entryDone, 256u);
  EXPECT_EQ(recorder.events[6].totalBytes, 1380u);
  EXPECT_EQ(recorder.events[6].path, Install().u16string() + u"\\a.txt");
  EXPECT_EQ(recorder.events[6].kind, ENTRY_KIND_PROGRAM);
  EXPECT_EQ(recorder.events[6].entrySize, 10u);
  EXPECT_EQ(recorder.events[12].doneBytes, 1337u);
  EXPECT_EQ(recorder.events[14].kind, ENTRY_KIND_KEEP_EXISTING);
  EXPECT_TRUE(recorder.events[15].path.empty());
  EXPECT_EQ(test::ReadBytes(Install() / "a.txt"), kTwoEntries[0].data);
  EXPECT_EQ(test::ReadBytes(Install() / "sub" / "b.bin"), kTwoEntries[1].data);
  EXPECT_TRUE(folder.QvTemporaries().empty());
  EXPECT_EQ(engine.status, EXTRACT_OK);
}

TEST_F(ExtractorTest, RunWithoutCallbackExtractsEverything) {
  engine.SetCallback(nullptr, nullptr);
  ASSERT_TRUE(Run(kTwoEntries));
  EXPECT_EQ(test::ReadBytes(Install() / "sub" / "b.bin"), kTwoEntries[1].data);
}

TEST_F(ExtractorTest, SkippedEntryLeavesTheOldFileAndTheNextEntryStillDecodes) {
  const std::vector<TestEntry> entries = {
      {u"<InstallPath>\\keep.dat", test::PatternBytes(500, 3)},
      {u"<InstallPath>\\next.dat", test::PatternBytes(40, 4)},
  };
  test::WriteBytes(Install() / "keep.dat", Bytes{'o', 'l', 'd'});
  recorder.reply = [](size_t, const ExtractEvent& e) {
    return e.code == EB && std::u16string(e.entryPath).find(u"keep") != std::u16string::npos ? EXTRACT_SKIP
                                                                                             : EXTRACT_CONTINUE;
  };
  ASSERT_TRUE(Run(entries));
  EXPECT_EQ(test::ReadBytes(Install() / "keep.dat"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(test::ReadBytes(Install() / "next.dat"), entries[1].data);
  EXPECT_EQ(recorder.Count(EE), 1u);  // none for the skipped entry
}

TEST_F(ExtractorTest, SkipReplyToOtherEventsHasNoEffect) {
  recorder.reply = [](size_t, const ExtractEvent& e) { return e.code == EB ? EXTRACT_CONTINUE : EXTRACT_SKIP; };
  ASSERT_TRUE(Run(kTwoEntries));
  EXPECT_EQ(test::ReadBytes(Install() / "a.txt"), kTwoEntries[0].data);
  EXPECT_EQ(recorder.Count(EE), 2u);
}

// Cancel at every event of a clean run: honoured by entry-begin, progress and
// entry-end, ignored elsewhere. A cancelled run leaves no file behind.
TEST_F(ExtractorTest, CancelAtEachEventIsHonouredWhereAllowedAndCleansUp) {
  ASSERT_TRUE(Run(kTwoEntries));
  const std::vector<Recorded> clean = recorder.events;
  for (size_t at = 0; at < clean.size(); ++at) {
    SCOPED_TRACE("cancel at event " + std::to_string(at));
    std::filesystem::remove_all(Install());
    recorder.events.clear();
    recorder.reply = [at](size_t index, const ExtractEvent&) {
      return index == at ? EXTRACT_CANCEL : EXTRACT_CONTINUE;
    };
    const uint32_t code = clean[at].code;
    const bool honoured = code == EB || code == P || code == EE;
    EXPECT_EQ(engine.Extract(Container().u16string()), !honoured);
    if (honoured) {
      ExpectFailedOnce(EXTRACT_ERR_CANCELLED);
      EXPECT_EQ(recorder.events.size(), at + 2);
      EXPECT_TRUE(Installed().empty());
    } else {
      EXPECT_EQ(Installed().size(), 2u);
    }
  }
}

TEST_F(ExtractorTest, CancelAtEntryBeginKeepsThatEntrysExistingFile) {
  test::WriteBytes(Install() / "sub" / "b.bin", Bytes{'o', 'l', 'd'});
  recorder.reply = [](size_t, const ExtractEvent& e) {
    return e.code == EB && std::u16string(e.entryPath).find(u"b.bin") != std::u16string::npos ? EXTRACT_CANCEL
                                                                                              : EXTRACT_CONTINUE;
  };
  EXPECT_FALSE(Run(kTwoEntries));
  ExpectFailedOnce(EXTRACT_ERR_CANCELLED);
  EXPECT_FALSE(std::filesystem::exists(Install() / "a.txt"));
  EXPECT_EQ(test::ReadBytes(Install() / "sub" / "b.bin"), (Bytes{'o', 'l', 'd'}));
}

TEST_F(ExtractorTest, MissingContainerIsASystemErrorWithItsCode) {
  EXPECT_FALSE(engine.Extract((folder.path() / "none.bin").u16string()));
  EXPECT_EQ(recorder.Codes(), (std::vector<uint32_t>{EXTRACT_BEGIN, EXTRACT_FAILED}));
  ExpectFailedOnce(EXTRACT_ERR_SYSTEM);
  EXPECT_EQ(engine.systemError, kErrorFileNotFound);
}

TEST_F(ExtractorTest, ContainerChecksumMismatchIsAnArchiveErrorBeforeAnyWrite) {
  Bytes container = test::BuildContainer(kTwoEntries);
  container.back() ^= 1;
  EXPECT_FALSE(RunContainer(container));
  EXPECT_EQ(recorder.Codes(), (std::vector<uint32_t>{EXTRACT_BEGIN, EXTRACT_FAILED}));
  ExpectFailedOnce(EXTRACT_ERR_ARCHIVE);
  EXPECT_FALSE(std::filesystem::exists(Install()));
}

TEST_F(ExtractorTest, WrongEntryChecksumDeletesEveryWrittenFile) {
  const std::vector<TestEntry>& entries = kTwoEntries;
  Bytes directory = test::BuildDirectory(entries);
  directory[4 + 4] ^= 0xFF;
  BitWriter writer;
  writer.Literals(directory);
  for (const TestEntry& e : entries) writer.Literals(e.data);
  EXPECT_FALSE(RunContainer(test::BuildContainer(writer.Finish())));
  ExpectFailedOnce(EXTRACT_ERR_VERIFY);
  EXPECT_EQ(recorder.Count(EXTRACT_VERIFYING), 1u);
  EXPECT_TRUE(Installed().empty());
}

// A written file that cannot be read back fails verification like a wrong one.
TEST_F(ExtractorTest, FileGoneBeforeVerificationFailsAndTheOthersAreDeleted) {
  recorder.reply = [this](size_t, const ExtractEvent& e) {
    if (e.code == EXTRACT_VERIFYING) std::filesystem::remove(Install() / "a.txt");
    return EXTRACT_CONTINUE;
  };
  EXPECT_FALSE(Run(kTwoEntries));
  ExpectFailedOnce(EXTRACT_ERR_VERIFY);
  EXPECT_TRUE(Installed().empty());
}

TEST_F(ExtractorTest, StreamEndingBeforeTheDataIsTruncatedAndCleansUp) {
  Bytes stream = test::BuildStream(kTwoEntries);
  stream.resize(stream.size() - 50);  // inside the second entry
  EXPECT_FALSE(RunContainer(test::BuildContainer(stream)));
  ExpectFailedOnce(EXTRACT_ERR_TRUNCATED);
  EXPECT_TRUE(Installed().empty());
}

TEST_F(ExtractorTest, ReadOnlyDestinationIsReplacedByAWritableFile) {
  const std::filesystem::path target = Install() / "a.txt";
  test::WriteBytes(target, Bytes{'o', 'l', 'd'});
  ASSERT_TRUE(SetFileAttributesOf(target.u16string(), kFileAttributeReadOnly));
  ASSERT_TRUE(Run(kTwoEntries));
  EXPECT_EQ(test::ReadBytes(target), kTwoEntries[0].data);
  EXPECT_EQ(GetFileAttributesOf(target.u16string()) & kFileAttributeReadOnly, 0u);
}

TEST_F(ExtractorTest, EmptyEntriesAtTheEndAreCreatedBeforeVerification) {
  const std::vector<TestEntry> entries = {
      {u"<InstallPath>\\a.txt", test::PatternBytes(3, 5)},
      {u"<InstallPath>\\e1.txt", {}},
      {u"<InstallPath>\\e2.txt", {}, false},
  };
  ASSERT_TRUE(Run(entries));
  const std::vector<uint32_t> codes = recorder.Codes();
  const std::vector<uint32_t> tail(codes.end() - 11, codes.end());
  EXPECT_EQ(tail, (std::vector<uint32_t>{EE, EB, P, P, EE, EB, P, P, EE, EXTRACT_VERIFYING, EXTRACT_DONE}));
  EXPECT_TRUE(std::filesystem::exists(Install() / "e1.txt"));
  EXPECT_EQ(std::filesystem::file_size(Install() / "e2.txt"), 0u);
}

// An empty compressed entry between the compressed and the stored section must
// not make the engine decode stored bytes as tokens.
TEST_F(ExtractorTest, EmptyEntryAtTheEndOfTheCompressedSectionKeepsStoredDataIntact) {
  const std::vector<TestEntry> entries = {
      {u"<InstallPath>\\c.bin", test::PatternBytes(100, 6)},
      {u"<InstallPath>\\empty.bin", {}, true},
      {u"<InstallPath>\\s.bin", test::PatternBytes(100, 7), false},
  };
  ASSERT_TRUE(Run(entries)) << engine.status;
  EXPECT_EQ(test::ReadBytes(Install() / "s.bin"), entries[2].data);
}

TEST_F(ExtractorTest, StoredEntriesAfterCompressedOnesDecodeAndEndAtTheLastByte) {
  const std::vector<TestEntry> entries = {
      {u"<InstallPath>\\c.bin", test::PatternBytes(1000, 8)},
      {u"<InstallPath>\\s1.bin", test::PatternBytes(70000, 9), false},
      {u"<InstallPath>\\s2.bin", test::PatternBytes(33, 10), false},
  };
  const Bytes stream = test::BuildStream(entries);
  ASSERT_TRUE(Run(entries));
  EXPECT_EQ(test::ReadBytes(Install() / "s1.bin"), entries[1].data);
  EXPECT_EQ(test::ReadBytes(Install() / "s2.bin"), entries[2].data);
  EXPECT_EQ(recorder.events.back().code, EXTRACT_DONE);
  EXPECT_EQ(recorder.events[recorder.events.size() - 2].code, EXTRACT_VERIFYING);
  // Every archive byte was consumed: the stream ends exactly at the container's end.
  EXPECT_EQ(engine.event.archiveBytesRead, stream.size());
}

TEST_F(ExtractorTest, StoredEntryBeforeACompressedOneCannotBeRead) {
  const std::vector<TestEntry> entries = {
      {u"<InstallPath>\\s.bin", test::PatternBytes(50, 11), false},
      {u"<InstallPath>\\c.bin", test::PatternBytes(50, 12), true},
  };
  EXPECT_FALSE(Run(entries));
  EXPECT_TRUE(Installed().empty());
  EXPECT_TRUE(folder.QvTemporaries().empty());
}

// Destinations whose folder cannot be created or whose name is taken by a
// folder fail as system errors; nothing written stays, no temporary stays.
TEST_F(ExtractorTest, UnwritableDestinationsFailWithTheSystemErrorAndCleanUp) {
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path&)> prepare;
  };
  const std::vector<Case> cases = {
      {"folder_is_a_file", [](const std::filesystem::path& inst) { test::WriteBytes(inst / "sub", Bytes{1}); }},
      {"file_name_is_a_folder",
       [](const std::filesystem::path& inst) { std::filesystem::create_directories(inst / "sub" / "b.bin"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(Install());
    recorder.events.clear();
    c.prepare(Install());
    EXPECT_FALSE(Run(kTwoEntries));
    ExpectFailedOnce(EXTRACT_ERR_SYSTEM);
    EXPECT_NE(engine.systemError, 0u);
    EXPECT_FALSE(std::filesystem::exists(Install() / "a.txt"));
  }
}

// Directories that no valid archive has are rejected before anything is
// written or any large buffer is taken.
struct BadDirectory {
  const char* name;
  Bytes stream;
};

void PrintTo(const BadDirectory& c, std::ostream* os) { *os << c.name; }

Bytes LiteralStream(const Bytes& bytes) {
  BitWriter writer;
  writer.Literals(bytes);
  return writer.Finish();
}

Bytes SizeField(uint32_t size) {
  return Bytes{static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), static_cast<uint8_t>(size >> 16),
               static_cast<uint8_t>(size >> 24)};
}

// The directory of entries with bytes replaced at the given offsets.
Bytes WithDirectoryChanges(const std::vector<TestEntry>& entries, const std::vector<std::pair<size_t, Bytes>>& changes) {
  Bytes directory = test::BuildDirectory(entries);
  for (const auto& [offset, bytes] : changes) {
    std::copy(bytes.begin(), bytes.end(), directory.begin() + static_cast<std::ptrdiff_t>(offset));
  }
  return LiteralStream(directory);
}

std::vector<BadDirectory> BadDirectories() {
  const std::vector<TestEntry> one = {{u"<InstallPath>\\a", {1, 2, 3}}};
  const std::vector<TestEntry> two = {{u"<InstallPath>\\a", {}}, {u"<InstallPath>\\b", {}}};
  Bytes filler(600, 0);
  auto withFiller = [&](Bytes head) {
    head.insert(head.end(), filler.begin(), filler.end());
    return LiteralStream(head);
  };
  return {
      {"no_entries", withFiller(SizeField(4))},
      {"size_below_the_field", withFiller(SizeField(2))},
      {"partial_entry", withFiller(SizeField(4 + 533 + 1))},
      {"larger_than_the_container_can_hold", withFiller(SizeField(4 + 533 * 4000000u))},
      {"path_without_terminator", WithDirectoryChanges(one, {{4 + 8, Bytes(520, 'A')}})},
      {"sizes_overflow_32_bits",
       WithDirectoryChanges(two, {{4, SizeField(0xFFFFF000u)}, {4 + 533, SizeField(0x2000u)}})},
  };
}

class BadDirectoryTest : public ExtractorTest, public ::testing::WithParamInterface<BadDirectory> {};

TEST_P(BadDirectoryTest, IsRejectedAsAnArchiveError) {
  EXPECT_FALSE(RunContainer(test::BuildContainer(GetParam().stream)));
  ExpectFailedOnce(EXTRACT_ERR_ARCHIVE);
  EXPECT_EQ(recorder.Count(EB), 0u);
  EXPECT_FALSE(std::filesystem::exists(Install()));
}

INSTANTIATE_TEST_SUITE_P(Directories, BadDirectoryTest, ::testing::ValuesIn(BadDirectories()));

// A folder path (trailing backslash included) over 246 units leaves no room for
// a temporary name: the destination is written directly.
TEST_F(ExtractorTest, FolderLongerThanTheTemporaryNameLimitIsWrittenDirectly) {
  for (size_t folderUnits : {size_t{247}, size_t{246}}) {
    SCOPED_TRACE(folderUnits);
    const std::u16string base = folder.u16() + u"\\";
    const size_t fill = folderUnits - base.size() - 1;
    const std::u16string deep = std::u16string(fill / 2, u'd') + u"\\" + std::u16string(fill - fill / 2 - 1, u'e');
    engine.Setup(base + deep);
    recorder.events.clear();
    bool looked = false;
    size_t temporariesDuringWrite = 0;
    recorder.reply = [&](size_t, const ExtractEvent& e) {
      if (!looked && e.code == P && e.entryPath != nullptr && e.entryDone > 0 && e.entryDone < e.entrySize) {
        looked = true;
        temporariesDuringWrite = folder.QvTemporaries().size();
      }
      return EXTRACT_CONTINUE;
    };
    ASSERT_TRUE(Run({{u"<InstallPath>\\f", test::PatternBytes(700, 13)}}));
    ASSERT_TRUE(looked);
    EXPECT_EQ(temporariesDuringWrite, folderUnits > 246 ? 0u : 1u);
    EXPECT_TRUE(folder.QvTemporaries().empty());
  }
}

TEST_F(ExtractorTest, ExpandedPathLongerThan259IsCutEverywhere) {
  const std::u16string install = folder.u16() + u"\\" + std::u16string(100, u'x');
  engine.Setup(install);
  const std::vector<TestEntry> entries = {{u"<InstallPath>\\" + std::u16string(200, u'n'), test::PatternBytes(20, 14)}};
  ASSERT_TRUE(Run(entries));
  const std::u16string expected = (install + u"\\" + std::u16string(200, u'n')).substr(0, 259);
  std::u16string seen;
  for (const Recorded& e : recorder.events) {
    if (e.code == EB) seen = e.path;
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(ComputeFileChecksum(expected), ComputeChecksum(entries[0].data.data(), entries[0].data.size()));
}

struct SetupCase {
  std::u16string given;
  std::u16string stored;
};

class SetupFolders : public ::testing::TestWithParam<SetupCase> {};

TEST_P(SetupFolders, TrimsCutsAndDropsOneTrailingBackslash) {
  CArchiveExtractor engine;
  engine.Setup(GetParam().given, GetParam().given);
  EXPECT_EQ(engine.installFolder, GetParam().stored);
  EXPECT_EQ(engine.examplesFolder, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Folders, SetupFolders,
                         ::testing::Values(SetupCase{u"  C:\\Inst\\ \t", u"C:\\Inst"},
                                           SetupCase{u"C:\\Inst\\\\", u"C:\\Inst\\"},
                                           SetupCase{u"C:\\", u"C:\\"}, SetupCase{u"", u""},
                                           SetupCase{u"Examples", u"Examples"},
                                           SetupCase{std::u16string(259, u'a') + u"\\\\",
                                                     std::u16string(259, u'a')}));

}  // namespace
}  // namespace qv
