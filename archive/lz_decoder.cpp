#include "archive/lz_decoder.h"

namespace qv {

using namespace lz_detail;

namespace {

// One byte into the accumulator; false once the run has been stopped.
bool Refill(ExtractRun& run, uint32_t& accumulator, uint32_t& bitCount) {
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

// Progress test before the step's own bytes are counted; 0 when cancelled.
uint32_t Account(ExtractRun& run, uint32_t n) {
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

uint32_t LzDecodeStepSlow(ExtractRun& run, uint8_t* out, LzMode mode, LzWindow& window, uint32_t& accumulator,
                          uint32_t& bitCount) {
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

  if (bitCount == 0 && !Refill(run, accumulator, bitCount)) return 0;
  uint32_t n = 0;
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
  window.Append(out, n);
  return Account(run, n);
}

}  // namespace qv
