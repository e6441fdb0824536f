#pragma once
// Writes bit fields most significant bit first into a byte vector, the order
// in which setup.exe's bit reader takes them.
#include <cstdint>
#include <vector>

namespace qv {

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  // bits: 1 to 32; value's higher bits are ignored.
  void Put(uint32_t value, unsigned bits) {
    accumulator_ = (accumulator_ << bits) | (value & ((uint64_t{1} << bits) - 1));
    pending_ += bits;
    while (pending_ >= 8) {
      pending_ -= 8;
      out_.push_back(static_cast<uint8_t>(accumulator_ >> pending_));
    }
  }

  // Completes the last partial byte with zero bits.
  void PadToByte() {
    if (pending_ != 0) Put(0, 8 - pending_);
    accumulator_ = 0;
  }

  uint64_t bitsWritten() const { return bytesBefore_ * 8 + out_.size() * 8 + pending_; }

  // The vector was emptied by its owner (after writing its bytes out).
  void Drained(size_t bytes) { bytesBefore_ += bytes; }

 private:
  std::vector<uint8_t>& out_;
  uint64_t accumulator_ = 0;
  unsigned pending_ = 0;
  uint64_t bytesBefore_ = 0;
};

}  // namespace qv
