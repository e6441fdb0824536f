#include "tools/qvpack/lz_encoder.h"

#include <algorithm>
#include <cstring>

#include "archive/archive_format.h"

namespace qv {

namespace {

// Token boundaries are forced between blocks; the loss is a few bits per block.
constexpr uint32_t kBlockSize = 1u << 18;
// The match finder orders strings by the kMaxMatch bytes that follow them.
constexpr uint32_t kLookahead = kMaxMatch;
constexpr uint32_t kBufferSize = kWindowSize + kBlockSize + kLookahead;

}  // namespace

uint64_t LzStats::Bits() const {
  return literalTokens * kLiteralTokenBits + matchTokens * kMatchTokenBits;
}

LzEncoder::LzEncoder(ParseMode mode, TokenSink& sink)
    : mode_(mode), sink_(sink), buffer_(kBufferSize + kReadPastLimit) {}

void LzEncoder::Write(const uint8_t* data, size_t size) {
  while (size > 0) {
    size_t room = kBufferSize - (filled_ - base_);
    size_t take = std::min(size, room);
    std::memcpy(buffer_.data() + (filled_ - base_), data, take);
    filled_ += static_cast<uint32_t>(take);
    data += take;
    size -= take;
    if (filled_ - encoded_ >= kBlockSize + kLookahead) EncodeBlock(encoded_ + kBlockSize);
  }
}

void LzEncoder::Finish() {
  if (filled_ > encoded_) EncodeBlock(filled_);
}

void LzEncoder::EncodeBlock(uint32_t end) {
  if (mode_ == ParseMode::kOptimal) {
    ParseOptimal(encoded_, end);
  } else {
    ParseGreedy(encoded_, end);
  }
  stats_.bytes += end - encoded_;
  encoded_ = end;
  uint32_t newBase = end - std::min(end, kWindowSize);
  std::memmove(buffer_.data(), buffer_.data() + (newBase - base_), filled_ - newBase);
  base_ = newBase;
}

void LzEncoder::Emit(uint32_t pos, const Match& match) {
  LzToken token;
  if (match.length > 0) {
    uint32_t windowStart = pos - std::min(pos, kWindowSize);
    token.matchLength = match.length;
    token.offset = match.source - windowStart;
    ++stats_.matchTokens;
  } else {
    ++stats_.literalTokens;
  }
  token.literal = *At(pos + match.length);
  sink_.Put(token);
}

void LzEncoder::ParseGreedy(uint32_t begin, uint32_t end) {
  uint32_t pos = begin;
  while (pos < end) {
    Match match = finder_.Find(View(), pos, end - pos - 1);
    Emit(pos, match);
    pos += match.length + 1;
  }
}

// Shortest path over the block's positions. Every prefix of a match is a
// match too, and the tail of a match at i is one at i + 1; with the reported
// lengths made to honour that, the cheapest cost from a position onward never
// rises as the position advances, so of all the match lengths at a position
// only the longest needs trying: best[i] = min(9 + best[i + 1],
// 26 + best[i + longest + 1]).
void LzEncoder::ParseOptimal(uint32_t begin, uint32_t end) {
  const uint32_t count = end - begin;
  matches_.resize(count);
  Match* matches = matches_.data();
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t pos = begin + i;
    Match match = finder_.Find(View(), pos, end - pos - 1);
    if (i > 0 && matches[i - 1].length > match.length + 1) {
      match.length = matches[i - 1].length - 1;
      match.source = matches[i - 1].source + 1;
    }
    matches[i] = match;
  }

  cost_.resize(count + 1);
  uint32_t* cost = cost_.data();  // bits from the position to the block end
  cost[count] = 0;
  for (uint32_t i = count; i-- > 0;) {
    const uint32_t viaLiteral = kLiteralTokenBits + cost[i + 1];
    const uint32_t length = matches[i].length;
    if (length >= 2 && kMatchTokenBits + cost[i + length + 1] < viaLiteral) {
      cost[i] = kMatchTokenBits + cost[i + length + 1];
    } else {
      cost[i] = viaLiteral;
      matches[i].length = 0;
    }
  }
  for (uint32_t i = 0; i < count; i += matches[i].length + 1) Emit(begin + i, matches[i]);
}

}  // namespace qv
