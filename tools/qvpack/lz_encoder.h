#pragma once
// Turns a byte stream into the tokens setup.exe decodes: an optional match of
// 1 to 32 bytes from the 4096-byte window, then always one literal byte.
//
// The optimal parse takes, over each block of the stream, the token sequence
// of fewest bits (a literal-only token costs 9 bits, a match token 26 bits
// whatever its offset and length); the greedy parse takes the longest match
// at every token start. Both end their last token exactly at the last byte.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/qvpack/match_finder.h"

namespace qv {

enum class ParseMode { kOptimal, kGreedy };

struct LzToken {
  uint32_t matchLength = 0;  // 0: literal only
  uint32_t offset = 0;       // window position of the match's first byte
  uint8_t literal = 0;
};

class TokenSink {
 public:
  virtual ~TokenSink() = default;
  virtual void Put(const LzToken& token) = 0;
};

struct LzStats {
  uint64_t bytes = 0;
  uint64_t literalTokens = 0;
  uint64_t matchTokens = 0;
  uint64_t Bits() const;
};

class LzEncoder {
 public:
  LzEncoder(ParseMode mode, TokenSink& sink);

  void Write(const uint8_t* data, size_t size);
  // Encodes what is left; the last token ends at the last byte written.
  void Finish();

  const LzStats& stats() const { return stats_; }

 private:
  void EncodeBlock(uint32_t end);
  void ParseOptimal(uint32_t begin, uint32_t end);
  void ParseGreedy(uint32_t begin, uint32_t end);
  void Emit(uint32_t pos, const Match& match);
  const uint8_t* At(uint32_t pos) const { return buffer_.data() + (pos - base_); }
  StreamView View() const { return StreamView{buffer_.data(), base_, filled_}; }

  ParseMode mode_;
  TokenSink& sink_;
  MatchFinder finder_;
  std::vector<uint8_t> buffer_;  // stream bytes from base_ to filled_
  uint32_t base_ = 0;
  uint32_t filled_ = 0;
  uint32_t encoded_ = 0;  // the next token starts here
  LzStats stats_;

  // Per block of the optimal parse, indexed by position - block start.
  std::vector<Match> matches_;
  std::vector<uint32_t> cost_;
};

}  // namespace qv
