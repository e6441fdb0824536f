#include "tools/qvpack/lz_encoder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "archive/archive_format.h"

namespace qv {

namespace {

// Token boundaries are forced between blocks; the loss is a few bits per block.
constexpr uint32_t kBlockSize = 1u << 18;
// The match finder orders strings by the kMaxMatch bytes that follow them.
constexpr uint32_t kLookahead = kMaxMatch;
constexpr uint32_t kBufferSize = kWindowSize + kBlockSize + kLookahead;
constexpr uint32_t kUnreached = std::numeric_limits<uint32_t>::max();

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

// Shortest path over the block's positions: from every position a literal
// reaches the next one, and a match of each length 2..L (every prefix of the
// longest match is a valid match) reaches length + 1 further.
void LzEncoder::ParseOptimal(uint32_t begin, uint32_t end) {
  const uint32_t count = end - begin;
  matches_.resize(count);
  cost_.assign(count + 1, kUnreached);
  arrivedBy_.assign(count + 1, 0);
  uint32_t* cost = cost_.data();
  uint8_t* arrivedBy = arrivedBy_.data();
  Match* matches = matches_.data();
  cost[0] = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t pos = begin + i;
    const Match match = finder_.Find(View(), pos, end - pos - 1);
    matches[i] = match;
    const uint32_t here = cost[i];
    if (here + kLiteralTokenBits < cost[i + 1]) {
      cost[i + 1] = here + kLiteralTokenBits;
      arrivedBy[i + 1] = 0;
    }
    const uint32_t viaMatch = here + kMatchTokenBits;
    for (uint32_t length = 2; length <= match.length; ++length) {
      const uint32_t target = i + length + 1;
      if (viaMatch < cost[target]) {
        cost[target] = viaMatch;
        arrivedBy[target] = static_cast<uint8_t>(length);
      }
    }
  }

  tokenStarts_.clear();
  for (uint32_t t = count; t > 0;) {
    t -= arrivedBy_[t] + 1u;
    tokenStarts_.push_back(t);
  }
  for (auto it = tokenStarts_.rbegin(); it != tokenStarts_.rend(); ++it) {
    const uint32_t i = *it;
    const uint32_t next = (it + 1 == tokenStarts_.rend()) ? count : *(it + 1);
    Match match = matches_[i];
    match.length = next - i - 1;
    Emit(begin + i, match);
  }
}

}  // namespace qv
