#include "tools/qvpack/lz_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "archive/archive_format.h"
#include "tests/packer/packer_test_files.h"

namespace {

using qv::LzToken;
using qv::ParseMode;
using qv_test::Bytes;

class TokenRecorder : public qv::TokenSink {
 public:
  void Put(const LzToken& token) override { tokens.push_back(token); }
  std::vector<LzToken> tokens;
};

struct Encoded {
  std::vector<LzToken> tokens;
  uint64_t bits = 0;
};

// Feeds the data in uneven pieces, as the container writer does with files.
Encoded Encode(const Bytes& data, ParseMode mode) {
  TokenRecorder recorder;
  qv::LzEncoder encoder(mode, recorder);
  std::mt19937 random(3);
  for (size_t at = 0; at < data.size();) {
    size_t piece = std::min<size_t>(data.size() - at, 1 + random() % 70000);
    encoder.Write(data.data() + at, piece);
    at += piece;
  }
  encoder.Finish();
  return Encoded{recorder.tokens, encoder.stats().Bits()};
}

// Every rule a token must follow to decode to data; empty when all hold.
std::string TokenFault(const Bytes& data, const std::vector<LzToken>& tokens) {
  size_t pos = 0;
  for (size_t t = 0; t < tokens.size(); ++t) {
    const LzToken& token = tokens[t];
    const std::string at = "token " + std::to_string(t) + " at " + std::to_string(pos) + ": ";
    if (token.matchLength > qv::kMaxMatch) return at + "match longer than 32";
    if (token.matchLength > 0) {
      if (token.offset >= qv::kWindowSize) return at + "offset outside the window";
      const size_t windowStart = pos - std::min<size_t>(pos, qv::kWindowSize);
      const size_t windowCount = pos - windowStart;
      const size_t source = windowStart + token.offset;
      if (token.offset + token.matchLength > windowCount) return at + "match reads its own output";
      if (!std::equal(data.begin() + source, data.begin() + source + token.matchLength,
                      data.begin() + pos)) {
        return at + "match copies other bytes";
      }
    }
    pos += token.matchLength;
    if (pos >= data.size()) return at + "no byte left for the literal";
    if (token.literal != data[pos]) return at + "wrong literal";
    ++pos;
  }
  if (pos != data.size()) return "tokens end at " + std::to_string(pos);
  return std::string();
}

uint64_t CountBits(const std::vector<LzToken>& tokens) {
  uint64_t bits = 0;
  for (const LzToken& token : tokens) bits += token.matchLength ? qv::kMatchTokenBits : qv::kLiteralTokenBits;
  return bits;
}

struct Input {
  const char* name;
  Bytes data;
};
void PrintTo(const Input& input, std::ostream* os) { *os << input.name; }

Bytes Repeat(const Bytes& part, size_t times) {
  Bytes out;
  for (size_t i = 0; i < times; ++i) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Input> Inputs() {
  const Bytes random4k = qv_test::RandomBytes(11, qv::kWindowSize);
  return {
      {"OneByte", Bytes{0x42}},
      {"TwoEqualBytes", Bytes{7, 7}},
      {"RepeatEndingTheStream", Bytes{'a', 'b', 'c', 'a', 'b', 'c'}},
      {"RunOfOneByte", Bytes(10000, 0xAA)},
      {"ShortPeriod", Repeat(Bytes{1, 2, 3, 4, 5}, 3000)},
      {"Random", qv_test::RandomBytes(12345, 20000)},
      {"Text", qv_test::Text(50000)},
      {"RepeatAtWindowEdge", Concat(random4k, random4k)},
      {"RepeatJustOutsideWindow", Concat(Concat(random4k, Bytes{9}), random4k)},
      {"MixedAcrossBlocks", qv_test::MixedCorpus(99, 700000)},
  };
}

class TokenRules : public ::testing::TestWithParam<Input> {};

TEST_P(TokenRules, EveryTokenIsValidAndTheLastEndsAtTheEnd) {
  for (ParseMode mode : {ParseMode::kOptimal, ParseMode::kGreedy}) {
    const Encoded encoded = Encode(GetParam().data, mode);
    EXPECT_EQ(TokenFault(GetParam().data, encoded.tokens), "")
        << (mode == ParseMode::kOptimal ? "optimal" : "greedy");
    EXPECT_EQ(encoded.bits, CountBits(encoded.tokens));
  }
}

TEST_P(TokenRules, OptimalNeverLargerThanGreedy) {
  const uint64_t optimal = Encode(GetParam().data, ParseMode::kOptimal).bits;
  const uint64_t greedy = Encode(GetParam().data, ParseMode::kGreedy).bits;
  EXPECT_LE(optimal, greedy);
}

INSTANTIATE_TEST_SUITE_P(Inputs, TokenRules, ::testing::ValuesIn(Inputs()),
                         [](const ::testing::TestParamInfo<Input>& info) { return info.param.name; });

TEST(LzEncoder, MatchAtTheVeryEndLeavesItsLastByteAsLiteral) {
  const Bytes data{'a', 'b', 'c', 'a', 'b', 'c'};
  const std::vector<LzToken> tokens = Encode(data, ParseMode::kOptimal).tokens;
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[3].matchLength, 2u);
  EXPECT_EQ(tokens[3].offset, 0u);
  EXPECT_EQ(tokens[3].literal, 'c');
}

TEST(LzEncoder, OldestByteOfAFullWindowIsOffsetZero) {
  const Bytes random4k = qv_test::RandomBytes(5, qv::kWindowSize);
  const Bytes data = Concat(random4k, Bytes(random4k.begin(), random4k.begin() + 20));
  const std::vector<LzToken> tokens = Encode(data, ParseMode::kOptimal).tokens;
  ASSERT_EQ(TokenFault(data, tokens), "");
  const LzToken& last = tokens.back();
  EXPECT_EQ(last.matchLength, 19u);
  EXPECT_EQ(last.offset, 0u);
}

// The cheapest token sequence, found by trying every source for every position.
uint64_t BruteForceMinimumBits(const Bytes& data) {
  const size_t n = data.size();
  std::vector<uint64_t> cost(n + 1, UINT64_MAX);
  cost[0] = 0;
  for (size_t i = 0; i < n; ++i) {
    cost[i + 1] = std::min(cost[i + 1], cost[i] + qv::kLiteralTokenBits);
    size_t longest = 0;
    for (size_t source = i - std::min<size_t>(i, qv::kWindowSize); source < i; ++source) {
      size_t length = 0;
      while (length < qv::kMaxMatch && source + length < i && i + length + 1 < n &&
             data[source + length] == data[i + length]) {
        ++length;
      }
      longest = std::max(longest, length);
    }
    for (size_t length = 1; length <= longest; ++length) {
      cost[i + length + 1] = std::min(cost[i + length + 1], cost[i] + qv::kMatchTokenBits);
    }
  }
  return cost[n];
}

// Exact where no near string hides a farther source; within 0.1% where
// low-entropy data makes that common.
TEST(LzEncoder, OptimalParseComesWithinATenthOfAPercentOfTheMinimum) {
  // Small alphabets give long matches; large ones mostly two-byte matches far back.
  const uint32_t alphabets[] = {2, 3, 5, 24, 60, 250};
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    std::mt19937 random(seed);
    Bytes data(5000);
    const uint32_t alphabet = alphabets[seed % 6];
    for (uint8_t& b : data) b = static_cast<uint8_t>(random() % alphabet);
    if (seed > 6) data = Concat(data, qv_test::Text(2000));
    const uint64_t minimum = BruteForceMinimumBits(data);
    const uint64_t bits = Encode(data, ParseMode::kOptimal).bits;
    EXPECT_GE(bits, minimum) << "seed " << seed << ", alphabet " << alphabet;
    EXPECT_LE(bits, minimum + minimum / 1000) << "seed " << seed << ", alphabet " << alphabet;
    if (alphabet >= 24) {
      EXPECT_EQ(bits, minimum) << "seed " << seed << ", alphabet " << alphabet;
    }
  }
}

TEST(LzEncoder, OptimalBeatsGreedyOnMixedData) {
  const Bytes data = qv_test::MixedCorpus(2024, 2000000);
  const uint64_t optimal = Encode(data, ParseMode::kOptimal).bits;
  const uint64_t greedy = Encode(data, ParseMode::kGreedy).bits;
  const double saving = 100.0 * static_cast<double>(greedy - std::min(greedy, optimal)) /
                        static_cast<double>(greedy);
  std::printf("mixed %zu bytes: optimal %llu bytes, greedy %llu bytes, %.2f%% smaller\n",
              data.size(), static_cast<unsigned long long>(optimal / 8),
              static_cast<unsigned long long>(greedy / 8), saving);
  EXPECT_LT(optimal, greedy);
}

}  // namespace
