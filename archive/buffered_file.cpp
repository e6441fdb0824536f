#include "archive/buffered_file.h"

#include <algorithm>
#include <new>

#include "archive/extract_run.h"
#include "system/file_io.h"

namespace qv {

namespace {
uint8_t* TakeBlock() {
  uint8_t* block = new (std::nothrow) uint8_t[kFileBlockSize];
  if (block == nullptr) SetLastFileError(kErrorNotEnoughMemory);
  return block;
}
}  // namespace

void BufferedFileReader::Release() {
  delete[] block_;
  block_ = cursor_ = end_ = nullptr;
}

bool BufferedFileReader::Read(ExtractRun& run, File& file, void* dest, uint32_t* count) {
  if (dest == nullptr) {
    Release();
    return true;
  }
  if (block_ == nullptr) {
    block_ = TakeBlock();
    if (block_ == nullptr) {
      run.ErrorStop(EXTRACT_ERR_SYSTEM);
      return false;
    }
    cursor_ = end_ = block_ + kFileBlockSize;
  }
  auto* out = static_cast<uint8_t*>(dest);
  uint32_t wanted = *count;
  uint32_t delivered = 0;
  bool lastBlock = false;
  while (wanted > 0 && !lastBlock) {
    if (cursor_ == end_) {
      uint32_t got = 0;
      if (!file.Read(block_, kFileBlockSize, &got)) {
        run.ErrorStop(EXTRACT_ERR_SYSTEM);
        return false;
      }
      if (got < kFileBlockSize) {
        // A short block sits at the end, so "cursor to end" stays the unread rest.
        std::memmove(end_ - got, block_, got);
        cursor_ = end_ - got;
        lastBlock = true;
      } else {
        cursor_ = block_;
      }
    }
    const uint32_t k = std::min(wanted, static_cast<uint32_t>(end_ - cursor_));
    std::memcpy(out, cursor_, k);
    cursor_ += k;
    out += k;
    wanted -= k;
    delivered += k;
  }
  *count = delivered;
  return true;
}

void BufferedFileWriter::Release() {
  delete[] block_;
  block_ = cursor_ = nullptr;
}

bool BufferedFileWriter::WriteSlow(ExtractRun& run, File& file, const void* src, uint32_t count) {
  if (src == nullptr) {
    if (block_ == nullptr) return true;
    bool ok = true;
    if (cursor_ != block_) {
      uint32_t put = 0;
      if (!file.Write(block_, static_cast<uint32_t>(cursor_ - block_), &put)) {
        run.ErrorStop(EXTRACT_ERR_SYSTEM);
        ok = false;
      }
    }
    Release();
    return ok;
  }
  if (block_ == nullptr) {
    block_ = TakeBlock();
    if (block_ == nullptr) {
      run.ErrorStop(EXTRACT_ERR_SYSTEM);
      return false;
    }
    cursor_ = block_;
  }
  const auto* in = static_cast<const uint8_t*>(src);
  while (count > 0) {
    const uint32_t k = std::min(count, static_cast<uint32_t>(blockEnd() - cursor_));
    std::memcpy(cursor_, in, k);
    cursor_ += k;
    in += k;
    count -= k;
    if (cursor_ == blockEnd()) {
      uint32_t put = 0;
      if (!file.Write(block_, kFileBlockSize, &put)) {
        run.ErrorStop(EXTRACT_ERR_SYSTEM);
        return false;
      }
      cursor_ = block_;
    }
  }
  return true;
}

}  // namespace qv
