#pragma once
// Finds, for a position of the stream, the longest earlier string that the
// token format can reference: its source lies wholly before the position
// (a match never reads its own output) and within the 4096 bytes before it.
//
// Sources 33 or more bytes back are kept in binary trees, one per leading
// byte pair, that hold every position of the window; sources 1 to 32 bytes
// back, which a match cannot use in full, are compared directly.
#include <cstdint>
#include <vector>

namespace qv {

struct Match {
  uint32_t length = 0;  // 0: none of 2 bytes or more
  uint32_t source = 0;  // stream position of the first byte to copy
};

class MatchFinder {
 public:
  MatchFinder();

  // data[p - base] is the byte at stream position p; the bytes from
  // pos - 4096 (or 0) to pos + maxLength - 1 must be present. Positions are
  // asked for in increasing order; skipped positions are still indexed.
  Match Find(const uint8_t* data, uint32_t base, uint32_t pos, uint32_t maxLength);

 private:
  void Insert(const uint8_t* data, uint32_t base, uint32_t pos);
  Match SearchTree(const uint8_t* data, uint32_t base, uint32_t pos, uint32_t maxLength) const;

  std::vector<uint32_t> roots_;     // by leading byte pair: newest position, the tree's root
  std::vector<uint32_t> children_;  // two per window slot: smaller, larger
  uint32_t nextInsert_ = 0;         // first position not yet in the trees
};

}  // namespace qv
