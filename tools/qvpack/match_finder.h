#pragma once
// Finds, for a position of the stream, the longest earlier string that the
// token format can reference: its source lies wholly before the position
// (a match never reads its own output) and within the 4096 bytes before it.
//
// Every position of the window sits in a binary tree, one tree per leading
// byte pair, ordered by the 32 bytes that follow it; inserting a position
// walks past its nearest strings. Sources 1 to 32 bytes back, which a match
// can use only in part, are also found through a chain of equal byte pairs.
#include <cstdint>
#include <vector>

namespace qv {

constexpr uint32_t kReadPastLimit = 8;

struct Match {
  uint32_t length = 0;  // 0: none of 2 bytes or more
  uint32_t source = 0;  // stream position of the first byte to copy
};

// The bytes the finder may look at: data[p - base] is the byte at stream
// position p, for p from the window before the asked position up to end.
// kReadPastLimit more bytes after end must be readable (their values do not matter).
struct StreamView {
  const uint8_t* data;
  uint32_t base;
  uint32_t end;
};

class MatchFinder {
 public:
  MatchFinder();

  // The longest match at pos of at most maxLength bytes. Positions are asked
  // for in increasing order; skipped positions are still indexed.
  Match Find(const StreamView& view, uint32_t pos, uint32_t maxLength);

 private:
  Match Insert(const StreamView& view, uint32_t pos, uint32_t maxLength);

  std::vector<uint32_t> roots_;     // by leading byte pair: newest position, the tree's root
  std::vector<uint32_t> children_;  // two per window slot: smaller, larger
  uint32_t samePair_[2 * 32];       // by position: the previous position with its byte pair
  uint32_t nextInsert_ = 0;         // first position not yet in the trees
};

}  // namespace qv
