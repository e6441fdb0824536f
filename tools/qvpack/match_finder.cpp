#include "tools/qvpack/match_finder.h"

#include <algorithm>
#include <iterator>

#include "archive/archive_format.h"

namespace qv {

namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;
// Slots outnumber the window so that a node 4096 back is still intact.
constexpr uint32_t kSlotMask = 2 * kWindowSize - 1;
// Bounds the walk on pathological inputs; ordinary data stays far below it.
constexpr uint32_t kMaxWalk = 128;

inline uint32_t PairKey(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

constexpr uint32_t kSamePairMask = 2 * kMaxMatch - 1;

}  // namespace

MatchFinder::MatchFinder() : roots_(1u << 16, kNone), children_(2 * (kSlotMask + 1), kNone) {
  static_assert(sizeof samePair_ / sizeof samePair_[0] == kSamePairMask + 1, "two matches long");
  std::fill(std::begin(samePair_), std::end(samePair_), kNone);
}

// Makes pos the root of its tree, splitting the old tree into the strings
// below and above it; an older string equal to it over the compared length is
// dropped. Returns the best match the walk met, each capped so that it ends
// before pos.
Match MatchFinder::Insert(const StreamView& view, uint32_t pos, uint32_t maxLength) {
  Match best;
  const uint8_t* cur = view.data + (pos - view.base);
  const uint32_t compareLimit = std::min(kMaxMatch, view.end - pos);
  uint32_t& root = roots_[PairKey(cur)];
  uint32_t node = root;
  root = pos;
  samePair_[pos & kSamePairMask] = node;
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
    uint32_t length = std::min(smallerLength, largerLength);
    while (length < compareLimit && other[length] == cur[length]) ++length;
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
  if (maxLength < 2) return Match();

  // Nearest first along the chain; tried farthest first, as farther sources
  // allow longer matches.
  uint32_t near[kMaxMatch];
  uint32_t count = 0;
  for (uint32_t source = samePair_[pos & kSamePairMask];
       source != kNone && pos - source <= kMaxMatch; source = samePair_[source & kSamePairMask]) {
    near[count++] = source;
  }
  const uint8_t* cur = view.data + (pos - view.base);
  while (count > 0) {
    const uint32_t source = near[--count];
    const uint32_t limit = std::min(pos - source, maxLength);
    if (limit < 2 || limit <= best.length) break;
    const uint8_t* other = cur - (pos - source);
    uint32_t length = 2;
    while (length < limit && other[length] == cur[length]) ++length;
    if (length > best.length) {
      best.length = length;
      best.source = source;
    }
  }
  if (best.length < 2) return Match();
  return best;
}

}  // namespace qv
