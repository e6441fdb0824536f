#include "archive/lz_decoder.h"

#include <cstring>

#include "archive/extract_run.h"

namespace qv {

namespace {

constexpr uint32_t kWindowMask = kWindowSize - 1;
constexpr uint32_t kProgressInterval = 256;

// One byte into the accumulator; false once the run has been stopped.
inline bool Refill(ExtractRun& run, uint32_t& accumulator, uint32_t& bitCount) {
  uint8_t byte;
  if (!run.reader.TakeBufferedByte(&byte)) {
    uint32_t count = 1;
    if (!run.reader.Read(run, run.archiveFile, &byte, &count)) return false;
    if (count == 0) {
      run.ErrorStop(EXTRACT_ERR_TRUNCATED);
      return false;
    }
  }
  accumulator = (accumulator << 8) | byte;
  bitCount += 8;
  ++run.event.archiveBytesRead;
  ++run.event.entryArchiveBytesRead;
  return true;
}

inline uint32_t TakeBits(uint32_t accumulator, uint32_t& bitCount, uint32_t n) {
  bitCount -= n;
  return (accumulator >> bitCount) & ((1u << n) - 1);
}

// Progress test before the step's own bytes are counted; 0 when cancelled.
inline uint32_t Account(ExtractRun& run, uint32_t n) {
  if (run.event.doneBytes - run.progressMark >= kProgressInterval) {
    if (run.Dispatch(EXTRACT_PROGRESS) == EXTRACT_CANCEL) {
      run.ErrorStop(EXTRACT_ERR_CANCELLED);
      return 0;
    }
  }
  run.event.doneBytes += n;
  return n;
}

}  // namespace

void LzWindow::Append(const uint8_t* bytes, uint32_t n) {
  if (count < kWindowSize) {
    // Until the window fills, start stays 0 and bytes go to index count.
    const uint32_t space = kWindowSize - count;
    if (n <= space) {
      std::memcpy(buffer + count, bytes, n);
      count += n;
      return;
    }
    std::memcpy(buffer + count, bytes, space);
    count = kWindowSize;
    bytes += space;
    n -= space;
  }
  const uint32_t first = n < kWindowSize - start ? n : kWindowSize - start;
  std::memcpy(buffer + start, bytes, first);
  std::memcpy(buffer, bytes + first, n - first);
  start = (start + n) & kWindowMask;
}

namespace {

// Small copies of at most 33 bytes without a library call.
inline void CopySmall(uint8_t* to, const uint8_t* from, uint32_t n) {
  if (n >= 8) {
    uint32_t i = 0;
    for (; i + 8 <= n; i += 8) std::memcpy(to + i, from + i, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);  // the tail, overlapping
    return;
  }
  for (uint32_t i = 0; i < n; ++i) to[i] = from[i];
}

// Copies the match: window positions offset .. offset + length - 1.
inline void CopyMatch(const LzWindow& window, uint8_t* out, uint32_t offset, uint32_t length) {
  const uint32_t from = (window.start + offset) & kWindowMask;
  if (from + kMaxMatch <= kWindowSize) {
    std::memcpy(out, window.buffer + from, kMaxMatch);  // out holds 33; the literal follows
  } else {
    for (uint32_t i = 0; i < length; ++i) out[i] = window.buffer[(from + i) & kWindowMask];
  }
}

inline void AppendToWindow(LzWindow& window, const uint8_t* bytes, uint32_t n) {
  if (window.count == kWindowSize && window.start + n <= kWindowSize) {
    CopySmall(window.buffer + window.start, bytes, n);
    window.start = (window.start + n) & kWindowMask;
  } else {
    window.Append(bytes, n);
  }
}

// A token needs at most 26 bits: four bytes always suffice.
constexpr uint32_t kMaxTokenBytes = 4;

// The whole token from bytes already in the reader's block: no failure is
// possible, so the counters are added once at the end.
inline uint32_t DecodeBufferedToken(ExtractRun& run, uint8_t* out, LzWindow& window, uint32_t& accumulator,
                                    uint32_t& bitCount) {
  const uint8_t* in = run.reader.Cursor();
  const uint8_t* const begin = in;
  uint32_t acc = accumulator;
  uint32_t bits = bitCount;
  if (bits == 0) {
    acc = (acc << 8) | *in++;
    bits = 8;
  }
  uint32_t n = 0;
  if (TakeBits(acc, bits, 1) != 0) {
    while (bits < kOffsetBits) {
      acc = (acc << 8) | *in++;
      bits += 8;
    }
    const uint32_t offset = TakeBits(acc, bits, kOffsetBits);
    if (bits < kLengthBits) {
      acc = (acc << 8) | *in++;
      bits += 8;
    }
    n = TakeBits(acc, bits, kLengthBits) + 1;
    CopyMatch(window, out, offset, n);
  }
  if (bits < kLiteralBits) {
    acc = (acc << 8) | *in++;
    bits += 8;
  }
  out[n++] = static_cast<uint8_t>(TakeBits(acc, bits, kLiteralBits));
  const uint32_t used = static_cast<uint32_t>(in - begin);
  run.reader.Advance(used);
  run.event.archiveBytesRead += used;
  run.event.entryArchiveBytesRead += used;
  accumulator = acc;
  bitCount = bits;
  return n;
}

}  // namespace

uint32_t LzDecodeStep(ExtractRun& run, uint8_t* out, LzMode mode, LzWindow& window,
                      uint32_t& accumulator, uint32_t& bitCount) {
  if (mode == LzMode::Stored) {
    uint32_t n = kStoredStepBytes;
    if (!run.reader.TakeBufferedBytes(out, n)) {
      if (!run.reader.Read(run, run.archiveFile, out, &n)) return 0;
    }
    run.event.archiveBytesRead += n;
    run.event.entryArchiveBytesRead += n;
    if (n == 0) {
      run.ErrorStop(EXTRACT_ERR_TRUNCATED);
      return 0;
    }
    return Account(run, n);
  }

  uint32_t n = 0;
  if (run.reader.Available() >= kMaxTokenBytes) {
    n = DecodeBufferedToken(run, out, window, accumulator, bitCount);
  } else {
    // Near the end of a block: byte by byte, any refill may meet the end of the file.
    if (bitCount == 0 && !Refill(run, accumulator, bitCount)) return 0;
    if (TakeBits(accumulator, bitCount, 1) != 0) {
      while (bitCount < kOffsetBits) {
        if (!Refill(run, accumulator, bitCount)) return 0;
      }
      const uint32_t offset = TakeBits(accumulator, bitCount, kOffsetBits);
      if (bitCount < kLengthBits && !Refill(run, accumulator, bitCount)) return 0;
      n = TakeBits(accumulator, bitCount, kLengthBits) + 1;
      CopyMatch(window, out, offset, n);
    }
    if (bitCount < kLiteralBits && !Refill(run, accumulator, bitCount)) return 0;
    out[n++] = static_cast<uint8_t>(TakeBits(accumulator, bitCount, kLiteralBits));
  }
  AppendToWindow(window, out, n);
  return Account(run, n);
}

}  // namespace qv
