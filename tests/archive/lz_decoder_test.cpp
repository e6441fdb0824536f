#include "archive/lz_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "archive/extract_run.h"
#include "tests/archive/archive_builder.h"

namespace qv {
namespace {

using test::BitWriter;
using test::Bytes;

// A run over a stream file, recording the events the decode step sends.
class DecodeHarness {
 public:
  explicit DecodeHarness(const Bytes& stream) {
    test::WriteBytes(folder_.path() / "stream.bin", stream);
    EXPECT_TRUE(run.archiveFile.Open((folder_.path() / "stream.bin").u16string(), FileAccess::Read,
                                     FileShare::Read, FileDisposition::OpenExisting));
    run.callback = &Record;
    run.event.owner = this;
  }

  Bytes Step(LzMode mode = LzMode::Compressed) {
    Bytes out(kMaxStepOutput);
    out.resize(LzDecodeStep(run, out.data(), mode, decoder));
    return out;
  }

  // Decodes until size bytes are out or a step returns nothing.
  Bytes Decode(size_t size, LzMode mode = LzMode::Compressed) {
    Bytes all;
    while (all.size() < size) {
      Bytes step = Step(mode);
      if (step.empty()) break;
      all.insert(all.end(), step.begin(), step.end());
    }
    return all;
  }

  ExtractRun run;
  LzDecoder decoder;
  std::vector<uint32_t> progressAt;  // doneBytes of every progress event
  int failedEvents = 0;
  int32_t progressReply = EXTRACT_CONTINUE;

 private:
  static int32_t Record(const ExtractEvent* event) {
    auto* self = static_cast<DecodeHarness*>(event->owner);
    if (event->code == EXTRACT_FAILED) ++self->failedEvents;
    if (event->code != EXTRACT_PROGRESS) return EXTRACT_CONTINUE;
    self->progressAt.push_back(event->doneBytes);
    return self->progressReply;
  }

  test::TempFolder folder_;
};

const Bytes kWorkedLiterals = {0x5D, 0x6E, 0x00, 0x00, 0x00, 0x34, 0x5E, 0x00,
                               0xEE, 0xCD, 0x12, 0x80, 0x3C, 0x00, 0x49, 0x00};

TEST(LzDecodeStep, WorkedExampleOfTheFirstTokens) {
  BitWriter writer;
  writer.Literals(kWorkedLiterals);
  writer.Match(1, 2, 0x73);
  const Bytes stream = writer.Finish();
  ASSERT_EQ(Bytes(stream.begin(), stream.begin() + 3), (Bytes{0x2E, 0x9B, 0x80}));
  ASSERT_EQ(Bytes(stream.begin() + 18, stream.begin() + 22), (Bytes{0x80, 0x08, 0x5C, 0xC0}));

  DecodeHarness h(stream);
  for (uint8_t expected : kWorkedLiterals) ASSERT_EQ(h.Step(), Bytes{expected});
  EXPECT_EQ(h.run.event.archiveBytesRead, 18u);  // 16 tokens of 9 bits end on a byte boundary
  EXPECT_EQ(h.decoder.bitCount, 0u);
  EXPECT_EQ(h.Step(), (Bytes{0x6E, 0x00, 0x73}));
  EXPECT_EQ(h.run.event.archiveBytesRead, 22u);
  EXPECT_EQ(h.run.event.entryArchiveBytesRead, 22u);
  EXPECT_EQ(h.run.event.doneBytes, 19u);
  EXPECT_EQ(h.decoder.window.count, 19u);
  EXPECT_EQ(h.decoder.window.At(16), 0x6E);
  EXPECT_EQ(h.decoder.window.At(18), 0x73);
  EXPECT_EQ(h.run.status, EXTRACT_OK);
}

TEST(LzDecodeStep, EightLiteralsTakeNineBytes) {
  BitWriter writer;
  writer.Literals({1, 2, 3, 4, 5, 6, 7, 8});
  const Bytes stream = writer.Finish();
  ASSERT_EQ(stream.size(), 9u);
  DecodeHarness h(stream);
  EXPECT_EQ(h.Decode(8), (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(h.run.event.archiveBytesRead, 9u);
  EXPECT_EQ(h.decoder.bitCount, 0u);
}

// A match preceded by k literals starts at every bit phase; the offset then
// straddles one or two refills. Bytes read must be exactly the bits used, rounded up.
class MatchAtBitPhase : public ::testing::TestWithParam<int> {};

TEST_P(MatchAtBitPhase, DecodesAndReadsOnlyTheBytesItNeeds) {
  const int k = GetParam();
  Bytes literals;
  for (int i = 0; i < k + 40; ++i) literals.push_back(static_cast<uint8_t>(0x40 + i));
  BitWriter writer;
  writer.Literals(literals);
  writer.Match(static_cast<uint32_t>(3 + k), 32, 0xAB);  // length field 31
  writer.Literal(0xCD);
  DecodeHarness h(writer.Finish());
  h.Decode(literals.size());
  const uint32_t bitsBefore = 9u * static_cast<uint32_t>(literals.size());
  EXPECT_EQ(h.run.event.archiveBytesRead, (bitsBefore + 7) / 8);

  const Bytes out = h.Step();
  ASSERT_EQ(out.size(), 33u);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 32), Bytes(literals.begin() + 3 + k, literals.begin() + 35 + k));
  EXPECT_EQ(out[32], 0xAB);
  EXPECT_EQ(h.run.event.archiveBytesRead, (bitsBefore + 26 + 7) / 8);
  EXPECT_LE(h.decoder.bitCount, 7u);
  EXPECT_EQ(h.Step(), Bytes{0xCD});
}

INSTANTIATE_TEST_SUITE_P(EveryPhase, MatchAtBitPhase, ::testing::Range(0, 8));

// Offsets count from the oldest byte held; once the window is full that is the
// byte produced 4096 bytes before the token's first output byte.
TEST(LzDecodeStep, OffsetZeroOfAFullWindowIsTheOldestByte) {
  const Bytes history = test::PatternBytes(kWindowSize, 4096);
  BitWriter writer;
  writer.Literals(history);
  writer.Match(0, 3, 0x11);  // produces stream bytes 4096..4099
  writer.Match(0, 1, 0x22);  // first output byte is stream byte 4100
  writer.Match(kWindowSize - 1, 1, 0x33);  // newest byte held: 0x22
  DecodeHarness h(writer.Finish());
  h.Decode(kWindowSize);
  EXPECT_EQ(h.Step(), (Bytes{history[0], history[1], history[2], 0x11}));
  EXPECT_EQ(h.decoder.window.start, 4u);
  EXPECT_EQ(h.Step(), (Bytes{history[4], 0x22}));
  EXPECT_EQ(h.Step(), (Bytes{0x22, 0x33}));
}

// A match only copies bytes already in the window: a run of one byte grows
// token by token, never by copying its own output.
TEST(LzDecodeStep, MatchReadsTheWindowAsItStoodBeforeTheToken) {
  BitWriter writer;
  writer.Literal('a');
  writer.Match(0, 1, 'a');  // "aa" from one byte held
  writer.Match(0, 3, 'b');  // window "aaa": copies three, not more
  DecodeHarness h(writer.Finish());
  EXPECT_EQ(h.Decode(9), (Bytes{'a', 'a', 'a', 'a', 'a', 'a', 'b'}));
}

// A corrupt offset past the bytes held must stay inside the window buffer.
TEST(LzDecodeStep, MatchBeyondTheBytesHeldStaysInsideTheWindow) {
  BitWriter writer;
  writer.Literal(7);
  writer.Match(kWindowSize - 2, 32, 9);
  DecodeHarness h(writer.Finish());
  EXPECT_EQ(h.Step(), Bytes{7});
  const Bytes out = h.Step();
  ASSERT_EQ(out.size(), 33u);
  EXPECT_EQ(out[32], 9);
}

// Long random streams cross block boundaries inside tokens, wrap the window
// and send progress events: every token must match a plain model of the format
// and consume exactly the bytes its bits reach into.
TEST(LzDecodeStep, LongRandomStreamsDecodeLikeThePlainModel) {
  const uint32_t seed = 4051;
  std::mt19937 random(seed);
  struct Token {
    bool match;
    uint32_t offset, length;
    uint8_t literal;
  };
  std::vector<Token> tokens;
  std::vector<uint8_t> produced;
  BitWriter writer;
  std::vector<uint64_t> bitsAfter;
  std::vector<Bytes> expected;
  while (writer.BitCount() < 8u * 3 * kFileBlockSize) {
    const uint32_t held = static_cast<uint32_t>(std::min<size_t>(produced.size(), kWindowSize));
    Token t{held > 0 && random() % 3 != 0, 0, 0, static_cast<uint8_t>(random())};
    Bytes out;
    if (t.match) {
      t.length = 1 + random() % std::min<uint32_t>(kMaxMatch, held);
      t.offset = random() % (held - t.length + 1);
      const size_t oldest = produced.size() - held;
      for (uint32_t i = 0; i < t.length; ++i) out.push_back(produced[oldest + t.offset + i]);
      writer.Match(t.offset, t.length, t.literal);
    } else {
      writer.Literal(t.literal);
    }
    out.push_back(t.literal);
    produced.insert(produced.end(), out.begin(), out.end());
    expected.push_back(out);
    bitsAfter.push_back(writer.BitCount());
  }
  DecodeHarness h(writer.Finish());
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(h.Step(), expected[i]) << "seed " << seed << " token " << i;
    ASSERT_EQ(h.run.event.archiveBytesRead, (bitsAfter[i] + 7) / 8) << "seed " << seed << " token " << i;
  }
  EXPECT_EQ(h.run.event.doneBytes, produced.size());
  // A progress event as soon as 256 bytes have passed since the last one.
  uint32_t mark = 0;
  for (uint32_t at : h.progressAt) {
    EXPECT_GE(at - mark, 256u);
    EXPECT_LT(at - mark, 256u + kMaxStepOutput);
    mark = at;
  }
  EXPECT_LT(produced.size() - mark, 256u + kMaxStepOutput);
  EXPECT_EQ(h.run.status, EXTRACT_OK);
}

TEST(LzDecodeStep, StreamEndingInsideATokenStopsAsTruncatedWithoutPartialOutput) {
  BitWriter writer;
  writer.Literal(1);
  writer.Bits(1, 1);
  writer.Bits(5, kOffsetBits);  // the match token ends here: length and literal missing
  Bytes stream = writer.Finish();
  DecodeHarness h(stream);
  EXPECT_EQ(h.Step(), Bytes{1});
  EXPECT_TRUE(h.Step().empty());
  EXPECT_EQ(h.run.status, EXTRACT_ERR_TRUNCATED);
  EXPECT_EQ(h.failedEvents, 1);
  EXPECT_EQ(h.decoder.window.count, 1u);
  EXPECT_EQ(h.run.event.doneBytes, 1u);
  EXPECT_FALSE(h.run.archiveFile.IsOpen());
}

TEST(LzDecodeStep, StoredModeCopiesUpTo32BytesThenStopsAtTheEnd) {
  const Bytes data = test::PatternBytes(70, 70);
  DecodeHarness h(data);
  EXPECT_EQ(h.Step(LzMode::Stored), Bytes(data.begin(), data.begin() + 32));
  EXPECT_EQ(h.Step(LzMode::Stored), Bytes(data.begin() + 32, data.begin() + 64));
  EXPECT_EQ(h.Step(LzMode::Stored), Bytes(data.begin() + 64, data.end()));
  EXPECT_EQ(h.run.event.archiveBytesRead, 70u);
  EXPECT_EQ(h.decoder.window.count, 0u);  // stored bytes never enter the window
  EXPECT_TRUE(h.Step(LzMode::Stored).empty());
  EXPECT_EQ(h.run.status, EXTRACT_ERR_TRUNCATED);
  EXPECT_EQ(h.failedEvents, 1);
}

// The leftover bits of the last compressed byte carry no data: stored bytes
// start at the next whole byte.
TEST(LzDecodeStep, StoredBytesStartAtTheNextWholeByte) {
  BitWriter writer;
  writer.Literals({1, 2, 3});  // 27 bits: 5 bits of the fourth byte unused
  Bytes stream = writer.Finish();
  stream.push_back(0xEE);
  stream.push_back(0xFF);
  DecodeHarness h(stream);
  EXPECT_EQ(h.Decode(3), (Bytes{1, 2, 3}));
  EXPECT_EQ(h.Step(LzMode::Stored), (Bytes{0xEE, 0xFF}));
}

// Progress is tested before the step's own bytes count: events report only
// earlier steps' bytes, at most one per step.
TEST(LzDecodeStep, ProgressEveryQuarterKilobyteBeforeTheStepIsCounted) {
  BitWriter w;
  w.Literals(Bytes(32, 0));
  for (int i = 0; i < 20; ++i) w.Match(0, 32, 0);  // 33 bytes each
  DecodeHarness h(w.Finish());
  h.Decode(32 + 20 * 33);
  // 32 + 33 * 7 = 263 before the 8th match; 263 + 33 * 8 = 527 before the 16th.
  EXPECT_EQ(h.progressAt, (std::vector<uint32_t>{263, 527}));
  EXPECT_EQ(h.run.progressMark, 527u);
  EXPECT_EQ(h.run.event.doneBytes, 32u + 20 * 33);
}

TEST(LzDecodeStep, CancelledProgressStopsTheRun) {
  BitWriter w;
  for (int i = 0; i < 300; ++i) w.Literal(static_cast<uint8_t>(i));
  DecodeHarness h(w.Finish());
  h.progressReply = EXTRACT_CANCEL;
  const Bytes out = h.Decode(300);
  EXPECT_EQ(out.size(), 256u);
  EXPECT_EQ(h.run.status, EXTRACT_ERR_CANCELLED);
  EXPECT_EQ(h.failedEvents, 1);
  EXPECT_EQ(h.run.event.doneBytes, 256u);
}

TEST(LzDecodeStep, ArchiveReadFailureStopsWithTheSystemError) {
  BitWriter w;
  w.Literals(test::PatternBytes(10, 1));
  DecodeHarness h(w.Finish());
  InjectFileFault(1, kErrorAccessDenied);
  EXPECT_TRUE(h.Step().empty());
  InjectFileFault(0, 0);
  EXPECT_EQ(h.run.status, EXTRACT_ERR_SYSTEM);
  EXPECT_EQ(h.run.systemError, kErrorAccessDenied);
  EXPECT_EQ(h.failedEvents, 1);
}

}  // namespace
}  // namespace qv
