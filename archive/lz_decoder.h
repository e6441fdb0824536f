#pragma once
// The LZ decode step: one token (an optional match into a 4096-byte window,
// then a literal) per call in compressed mode, up to 32 plain bytes in stored mode.
#include <cstdint>
#include <cstring>

#include "archive/archive_format.h"
#include "archive/extract_run.h"

namespace qv {

// Ring window of the last 4096 decoded bytes; position 0 is the oldest byte held.
struct LzWindow {
  uint8_t buffer[kWindowSize] = {};
  uint32_t capacity = kWindowSize;
  uint32_t count = 0;
  uint32_t start = 0;

  void Append(const uint8_t* bytes, uint32_t n);
  uint8_t At(uint32_t position) const { return buffer[(start + position) & (kWindowSize - 1)]; }
};

struct LzDecoder {
  uint32_t accumulator = 0;
  uint32_t bitCount = 0;  // unread bits at the bottom of the accumulator
  LzWindow window;
};

enum class LzMode { Compressed, Stored };

namespace lz_detail {

constexpr uint32_t kWindowMask = kWindowSize - 1;
constexpr uint32_t kProgressInterval = 256;
constexpr uint32_t kMaxTokenBytes = 4;  // 26 bits at most

inline uint32_t TakeBits(uint32_t accumulator, uint32_t& bitCount, uint32_t n) {
  bitCount -= n;
  return (accumulator >> bitCount) & ((1u << n) - 1);
}

// Copies the match (window positions offset .. offset + length - 1) into out,
// which holds 33 bytes: a whole 32 when no wrap is near, the literal follows.
inline void CopyMatch(const LzWindow& window, uint8_t* out, uint32_t offset, uint32_t length) {
  const uint32_t from = (window.start + offset) & kWindowMask;
  if (from + kMaxMatch <= kWindowSize) {
    std::memcpy(out, window.buffer + from, kMaxMatch);
  } else {
    for (uint32_t i = 0; i < length; ++i) out[i] = window.buffer[(from + i) & kWindowMask];
  }
}

// Copies n <= 33 bytes without a library call.
inline void CopySmall(uint8_t* to, const uint8_t* from, uint32_t n) {
  if (n >= 8) {
    for (uint32_t i = 0; i + 8 <= n; i += 8) std::memcpy(to + i, from + i, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);  // the tail, overlapping
    return;
  }
  for (uint32_t i = 0; i < n; ++i) to[i] = from[i];
}

}  // namespace lz_detail

// Any step: stored mode, the end of a block, a progress event, a window that
// is filling or about to wrap.
uint32_t LzDecodeStepSlow(ExtractRun& run, uint8_t* out, LzMode mode, LzWindow& window, uint32_t& accumulator,
                          uint32_t& bitCount);

// Decodes one step into out (at least kMaxStepOutput bytes) and returns the
// number of bytes produced, or 0 when the run has been stopped. The common case
// (a token whose bytes are all in the reader's block, no progress event due)
// runs inline: bytes consumed and counters are exactly those of byte-wise refills.
inline uint32_t LzDecodeStep(ExtractRun& run, uint8_t* out, LzMode mode, LzWindow& window, uint32_t& accumulator,
                             uint32_t& bitCount) {
  using namespace lz_detail;
  if (mode != LzMode::Compressed || run.reader.Available() < kMaxTokenBytes || window.count != kWindowSize ||
      window.start + kMaxStepOutput > kWindowSize || run.event.doneBytes - run.progressMark >= kProgressInterval) {
    return LzDecodeStepSlow(run, out, mode, window, accumulator, bitCount);
  }
  // The longest token (26 bits) lies within the bits held and the next four
  // bytes; a token takes exactly the bytes that byte-wise refills would take.
  const uint8_t* const in = run.reader.Cursor();
  const uint32_t bits = bitCount;
  const uint64_t stream = static_cast<uint64_t>(accumulator) << 32 |
                          (uint32_t{in[0]} << 24 | uint32_t{in[1]} << 16 | uint32_t{in[2]} << 8 | in[3]);
  const uint32_t held = bits + 32;
  const uint32_t flag = static_cast<uint32_t>(stream >> (held - 1)) & 1;
  const uint32_t tokenBits = flag != 0 ? kMatchTokenBits : kLiteralTokenBits;
  const uint32_t token = static_cast<uint32_t>(stream >> (held - tokenBits)) & ((1u << tokenBits) - 1);
  const uint32_t used = (tokenBits - bits + 7) >> 3;
  uint32_t n = 0;
  if (flag != 0) {
    n = ((token >> kLiteralBits) & ((1u << kLengthBits) - 1)) + 1;
    CopyMatch(window, out, (token >> (kLiteralBits + kLengthBits)) & kWindowMask, n);
  }
  out[n++] = static_cast<uint8_t>(token);
  run.reader.Advance(used);
  run.event.archiveBytesRead += used;
  run.event.entryArchiveBytesRead += used;
  accumulator = static_cast<uint32_t>(stream >> (32 - 8 * used));
  bitCount = bits + 8 * used - tokenBits;
  CopySmall(window.buffer + window.start, out, n);
  window.start = (window.start + n) & kWindowMask;
  run.event.doneBytes += n;
  return n;
}

inline uint32_t LzDecodeStep(ExtractRun& run, uint8_t* out, LzMode mode, LzDecoder& decoder) {
  return LzDecodeStep(run, out, mode, decoder.window, decoder.accumulator, decoder.bitCount);
}

}  // namespace qv
