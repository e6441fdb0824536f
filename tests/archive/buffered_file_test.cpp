#include "archive/buffered_file.h"

#include <gtest/gtest.h>

#include "archive/extract_run.h"
#include "tests/archive/archive_builder.h"

namespace qv {
namespace {

using test::Bytes;

int32_t CountFailed(const ExtractEvent* event) {
  if (event->code == EXTRACT_FAILED) ++*static_cast<int*>(event->owner);
  return EXTRACT_CONTINUE;
}

class BufferedFileTest : public ::testing::Test {
 protected:
  BufferedFileTest() {
    run.callback = &CountFailed;
    run.event.owner = &failedEvents;
  }
  std::u16string PathOf(const char* name) const { return (folder.path() / name).u16string(); }
  Bytes ReadAll(uint32_t chunk) {
    Bytes all;
    for (;;) {
      Bytes part(chunk);
      uint32_t count = chunk;
      EXPECT_TRUE(run.reader.Read(run, run.archiveFile, part.data(), &count));
      if (count == 0) return all;
      all.insert(all.end(), part.begin(), part.begin() + count);
    }
  }

  test::TempFolder folder;
  ExtractRun run;
  int failedEvents = 0;
};

TEST_F(BufferedFileTest, ReaderDeliversEveryByteAcrossBlocksForAnyRequestSize) {
  const Bytes data = test::PatternBytes(2 * kFileBlockSize + 100, 3);
  test::WriteBytes(folder.path() / "in.bin", data);
  for (uint32_t chunk : {1u, 33u, 4096u, kFileBlockSize, kFileBlockSize + 1}) {
    ASSERT_TRUE(run.archiveFile.Open(PathOf("in.bin"), FileAccess::Read, FileShare::Read,
                                     FileDisposition::OpenExisting));
    EXPECT_EQ(ReadAll(chunk), data) << "chunk " << chunk;
    run.reader.Release();
    run.archiveFile.Close();
  }
}

// After a short block the call returns what it has; the next call serves the
// rest and only then reads again, getting 0 at the end.
TEST_F(BufferedFileTest, ReaderShortReadOnlyAtTheEndOfTheFile) {
  const Bytes data = test::PatternBytes(kFileBlockSize + 100, 5);
  test::WriteBytes(folder.path() / "in.bin", data);
  ASSERT_TRUE(run.archiveFile.Open(PathOf("in.bin"), FileAccess::Read, FileShare::Read,
                                   FileDisposition::OpenExisting));
  Bytes out(70000);
  uint32_t count = 70000;
  ASSERT_TRUE(run.reader.Read(run, run.archiveFile, out.data(), &count));
  EXPECT_EQ(count, kFileBlockSize + 100);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + count), data);
  count = 10;
  ASSERT_TRUE(run.reader.Read(run, run.archiveFile, out.data(), &count));
  EXPECT_EQ(count, 0u);
  count = 0;
  EXPECT_TRUE(run.reader.Read(run, run.archiveFile, nullptr, &count));
  EXPECT_FALSE(run.reader.HasBlock());
}

TEST_F(BufferedFileTest, WriterWritesFullBlocksAndTheTailOnFlush) {
  const Bytes data = test::PatternBytes(2 * kFileBlockSize + 5, 9);
  File out;
  ASSERT_TRUE(out.Open(PathOf("out.bin"), FileAccess::Write, FileShare::None, FileDisposition::CreateAlways));
  BufferedFileWriter writer;
  for (size_t at = 0; at < data.size(); at += 33) {
    const uint32_t n = static_cast<uint32_t>(std::min<size_t>(33, data.size() - at));
    ASSERT_TRUE(writer.Write(run, out, data.data() + at, n));
  }
  ASSERT_TRUE(writer.Write(run, out, nullptr, 0));
  EXPECT_TRUE(writer.Write(run, out, nullptr, 0));  // nothing buffered: still fine
  out.Close();
  EXPECT_EQ(test::ReadBytes(folder.path() / "out.bin"), data);
  EXPECT_EQ(failedEvents, 0);
}

struct WriterFault {
  const char* name;
  uint32_t size;     // bytes written before the flush
  uint32_t failing;  // operation that fails, counted from the first write
};

void PrintTo(const WriterFault& f, std::ostream* os) { *os << f.name; }

class WriterFaultTest : public BufferedFileTest, public ::testing::WithParamInterface<WriterFault> {};

TEST_P(WriterFaultTest, WriteFailureStopsTheRunWithTheSystemError) {
  File out;
  ASSERT_TRUE(out.Open(PathOf("out.bin"), FileAccess::Write, FileShare::None, FileDisposition::CreateAlways));
  const Bytes data = test::PatternBytes(GetParam().size, 1);
  BufferedFileWriter writer;
  InjectFileFault(GetParam().failing, kErrorDiskFull);
  const bool written = writer.Write(run, out, data.data(), GetParam().size);
  const bool flushed = written && writer.Write(run, out, nullptr, 0);
  InjectFileFault(0, 0);
  EXPECT_FALSE(flushed);
  EXPECT_EQ(run.status, EXTRACT_ERR_SYSTEM);
  EXPECT_EQ(run.systemError, kErrorDiskFull);
  EXPECT_EQ(failedEvents, 1);
}

INSTANTIATE_TEST_SUITE_P(Faults, WriterFaultTest,
                         ::testing::Values(WriterFault{"full_block", kFileBlockSize + 1, 1},
                                           WriterFault{"final_flush", 100, 1}));

}  // namespace
}  // namespace qv
