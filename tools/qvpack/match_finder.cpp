#include "tools/qvpack/match_finder.h"

#include <algorithm>
#include <cstring>

#include "archive/archive_format.h"

namespace qv {

namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;
// Slots outnumber the window so that a node 4096 back is still intact.
constexpr uint32_t kSlotMask = 2 * kWindowSize - 1;
constexpr uint32_t kRootBits = 16;
// Bounds the walk on pathological inputs; ordinary data stays far below it.
constexpr uint32_t kMaxWalk = 128;

inline uint32_t PairKey(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

inline uint32_t TripleHash(const uint8_t* p) {
  const uint32_t triple = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                          static_cast<uint32_t>(p[2]) << 16;
  return (triple * 0x9E3779B1u) >> (32 - kRootBits);
}

// Length of the common prefix of a and b, from `from` up to limit; reads up
// to kReadPastLimit bytes beyond limit, which the caller provides.
inline uint32_t CommonLength(const uint8_t* a, const uint8_t* b, uint32_t from, uint32_t limit) {
#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  for (uint32_t length = from; length < limit; length += 8) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, a + length, 8);
    std::memcpy(&y, b + length, 8);
    if (x != y) return std::min(limit, length + (static_cast<uint32_t>(__builtin_ctzll(x ^ y)) >> 3));
  }
  return limit;
#else
  uint32_t length = from;
  while (length < limit && a[length] == b[length]) ++length;
  return length;
#endif
}

}  // namespace

MatchFinder::MatchFinder()
    : roots_(1u << kRootBits, kNone),
      children_(2 * (kSlotMask + 1), kNone),
      pairHeads_(1u << 16, kNone),
      pairChain_(kSlotMask + 1, kNone) {}

// Makes pos the root of its tree, splitting the old tree into the strings
// below and above it; an older string equal to it over the compared length is
// dropped. Returns the best match the walk met, each capped so that it ends
// before pos.
Match MatchFinder::Insert(const StreamView& view, uint32_t pos, uint32_t maxLength) {
  Match best;
  const uint8_t* cur = view.data + (pos - view.base);
  uint32_t& pairHead = pairHeads_[PairKey(cur)];
  pairChain_[pos & kSlotMask] = pairHead;
  pairHead = pos;
  const uint32_t compareLimit = std::min(kMaxMatch, view.end - pos);
  if (compareLimit < 3) return best;

  uint32_t& root = roots_[TripleHash(cur)];
  uint32_t node = root;
  root = pos;
  uint32_t* smallerSlot = &children_[2 * (pos & kSlotMask)];
  uint32_t* largerSlot = smallerSlot + 1;
  uint32_t smallerLength = 0;
  uint32_t largerLength = 0;
  for (uint32_t walk = 0;; ++walk) {
    if (node == kNone || pos - node > kWindowSize || walk == kMaxWalk) {
      *smallerSlot = kNone;
      *largerSlot = kNone;
      return best;
    }
    uint32_t* pair = &children_[2 * (node & kSlotMask)];
    const uint8_t* other = view.data + (node - view.base);
    const uint32_t length =
        CommonLength(other, cur, std::min(smallerLength, largerLength), compareLimit);
    const uint32_t usable = std::min({length, pos - node, maxLength});
    if (usable > best.length) {
      best.length = usable;
      best.source = node;
    }
    if (length == compareLimit) {
      *smallerSlot = pair[0];
      *largerSlot = pair[1];
      return best;
    }
    if (other[length] < cur[length]) {
      *smallerSlot = node;
      smallerSlot = pair + 1;
      node = *smallerSlot;
      smallerLength = length;
    } else {
      *largerSlot = node;
      largerSlot = pair;
      node = *largerSlot;
      largerLength = length;
    }
  }
}

Match MatchFinder::Find(const StreamView& view, uint32_t pos, uint32_t maxLength) {
  maxLength = std::min(maxLength, kMaxMatch);
  while (nextInsert_ < pos && view.end - nextInsert_ >= 2) Insert(view, nextInsert_++, 0);
  if (view.end - pos < 2) return Match();
  Match best = Insert(view, pos, maxLength);
  nextInsert_ = pos + 1;
  if (maxLength < 2 || best.length == maxLength) return best.length < 2 ? Match() : best;

  const uint8_t* cur = view.data + (pos - view.base);
  auto consider = [&](uint32_t source, uint32_t limit) {
    const uint32_t length = CommonLength(cur - (pos - source), cur, 2, limit);
    if (length > best.length) {
      best.length = length;
      best.source = source;
    }
  };
  // Near sources, nearest first along the chain.
  uint32_t near[kMaxMatch];
  uint32_t count = 0;
  uint32_t source = pairChain_[pos & kSlotMask];
  for (; source != kNone && pos - source <= kMaxMatch; source = pairChain_[source & kSlotMask]) {
    near[count++] = source;
  }
  // The trees hold no two-byte matches; the nearest far source shares the pair.
  if (best.length < 2 && source != kNone && pos - source <= kWindowSize) consider(source, maxLength);
  // Near sources farthest first: farther ones allow longer matches.
  while (count > 0) {
    const uint32_t nearSource = near[--count];
    const uint32_t limit = std::min(pos - nearSource, maxLength);
    if (limit < 2 || limit <= best.length) break;
    consider(nearSource, limit);
  }
  if (best.length < 2) return Match();
  return best;
}

}  // namespace qv
