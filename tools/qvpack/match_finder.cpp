#include "tools/qvpack/match_finder.h"

#include <algorithm>

#include "archive/archive_format.h"

namespace qv {

namespace {

constexpr uint32_t kNone = 0xFFFFFFFFu;
// A source this far back or farther never overlaps the match it feeds.
constexpr uint32_t kTreeMinDistance = kMaxMatch + 1;
// The trees hold the window's positions that are at least kTreeMinDistance back.
constexpr uint32_t kTreeSlots = kWindowSize - kTreeMinDistance + 1;
// Bounds the walk on pathological inputs; ordinary data stays far below it.
constexpr uint32_t kMaxWalk = 512;

inline uint32_t PairKey(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }

}  // namespace

MatchFinder::MatchFinder() : roots_(1u << 16, kNone), children_(2 * kTreeSlots, kNone) {}

// Makes pos the root of its tree, splitting the old tree into the strings
// below and above it; strings equal to it over kMaxMatch bytes are replaced.
void MatchFinder::Insert(const uint8_t* data, uint32_t base, uint32_t pos) {
  const uint8_t* cur = data + (pos - base);
  uint32_t& root = roots_[PairKey(cur)];
  uint32_t node = root;
  root = pos;
  uint32_t* smallerSlot = &children_[2 * (pos % kTreeSlots)];
  uint32_t* largerSlot = smallerSlot + 1;
  uint32_t smallerLength = 0;
  uint32_t largerLength = 0;
  for (uint32_t walk = 0;; ++walk) {
    if (node == kNone || pos - node >= kTreeSlots || walk == kMaxWalk) {
      *smallerSlot = kNone;
      *largerSlot = kNone;
      return;
    }
    uint32_t* pair = &children_[2 * (node % kTreeSlots)];
    const uint8_t* other = data + (node - base);
    uint32_t length = std::min(smallerLength, largerLength);
    while (length < kMaxMatch && other[length] == cur[length]) ++length;
    if (length == kMaxMatch) {
      *smallerSlot = pair[0];
      *largerSlot = pair[1];
      return;
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

Match MatchFinder::SearchTree(const uint8_t* data, uint32_t base, uint32_t pos,
                              uint32_t maxLength) const {
  Match best;
  const uint8_t* cur = data + (pos - base);
  uint32_t node = roots_[PairKey(cur)];
  uint32_t smallerLength = 0;
  uint32_t largerLength = 0;
  for (uint32_t walk = 0; walk < kMaxWalk && node != kNone && pos - node <= kWindowSize; ++walk) {
    const uint8_t* other = data + (node - base);
    uint32_t length = std::min(smallerLength, largerLength);
    while (length < maxLength && other[length] == cur[length]) ++length;
    if (length > best.length) {
      best.length = length;
      best.source = node;
      if (length == maxLength) break;
    }
    const uint32_t* pair = &children_[2 * (node % kTreeSlots)];
    if (other[length] < cur[length]) {
      node = pair[1];
      smallerLength = length;
    } else {
      node = pair[0];
      largerLength = length;
    }
  }
  return best;
}

Match MatchFinder::Find(const uint8_t* data, uint32_t base, uint32_t pos, uint32_t maxLength) {
  while (nextInsert_ + kTreeMinDistance <= pos) Insert(data, base, nextInsert_++);
  maxLength = std::min(maxLength, kMaxMatch);
  if (maxLength < 2) return Match();

  Match best = SearchTree(data, base, pos, maxLength);
  const uint8_t* cur = data + (pos - base);
  for (uint32_t distance = std::min(pos, kMaxMatch); distance > 0; --distance) {
    uint32_t limit = std::min(distance, maxLength);
    if (limit <= best.length) break;
    const uint8_t* other = cur - distance;
    uint32_t length = 0;
    while (length < limit && other[length] == cur[length]) ++length;
    if (length > best.length) {
      best.length = length;
      best.source = pos - distance;
    }
  }
  if (best.length < 2) return Match();
  return best;
}

}  // namespace qv
