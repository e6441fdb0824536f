#pragma once
// Finds, for a position of the stream, the longest earlier string that the
// token format can reference: its source lies wholly before the position
// (a match never reads its own output) and within the 4096 bytes before it.
//
// Every position of the window sits in a binary tree, one tree per hash of
// its first three bytes, ordered by the 32 bytes that follow it; inserting a
// position walks past its nearest strings, and a string equal to an older
// one over 32 bytes takes its place. A chain of equal byte pairs supplies the
// sources 1 to 32 bytes back, which a match can use only in part, and the
// sources of two-byte matches.
//
// The walk meets the strings nearest to the position in sorted order; when
// the nearest is also near in the stream (fewer bytes back than it matches),
// an equally long source farther back can go unseen. On ordinary data this
// costs well under 0.1%.
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

  std::vector<uint32_t> roots_;       // by hash of three bytes: newest position, the tree's root
  std::vector<uint32_t> children_;    // two per window slot: smaller, larger
  std::vector<uint32_t> pairHeads_;   // by byte pair: newest position
  std::vector<uint32_t> pairChain_;   // by window slot: the previous position with its byte pair
  uint32_t nextInsert_ = 0;           // first position not yet indexed
};

}  // namespace qv
