#pragma once
// The LZ decode step: one token (an optional match into a 4096-byte window,
// then a literal) per call in compressed mode, up to 32 plain bytes in stored mode.
#include <cstdint>

#include "archive/archive_format.h"

namespace qv {

class ExtractRun;

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

// Decodes one step into out (at least kMaxStepOutput bytes) and returns the
// number of bytes produced, or 0 when the run has been stopped.
uint32_t LzDecodeStep(ExtractRun& run, uint8_t* out, LzMode mode, LzWindow& window,
                      uint32_t& accumulator, uint32_t& bitCount);

inline uint32_t LzDecodeStep(ExtractRun& run, uint8_t* out, LzMode mode, LzDecoder& decoder) {
  return LzDecodeStep(run, out, mode, decoder.window, decoder.accumulator, decoder.bitCount);
}

}  // namespace qv
