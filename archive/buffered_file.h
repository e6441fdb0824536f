#pragma once
// 64 KiB block reader and writer through which the engine reads the archive and
// writes each entry. Failures stop the run (ExtractRun::ErrorStop) and return false.
#include <cstdint>
#include <cstring>

namespace qv {

class File;
class ExtractRun;

constexpr uint32_t kFileBlockSize = 65536;

class BufferedFileReader {
 public:
  BufferedFileReader() = default;
  ~BufferedFileReader() { Release(); }
  BufferedFileReader(const BufferedFileReader&) = delete;
  BufferedFileReader& operator=(const BufferedFileReader&) = delete;

  // Delivers up to *count bytes into dest; *count becomes the number delivered
  // (fewer only at the end of the file). A null dest releases the block.
  bool Read(ExtractRun& run, File& file, void* dest, uint32_t* count);

  // One byte straight from the block when it holds one; otherwise false and
  // the caller takes Read.
  bool TakeBufferedByte(uint8_t* byte) {
    if (cursor_ == end_) return false;
    *byte = *cursor_++;
    return true;
  }
  // n bytes straight from the block when it holds that many; otherwise false.
  bool TakeBufferedBytes(uint8_t* dest, uint32_t n) {
    if (static_cast<uint32_t>(end_ - cursor_) < n) return false;
    std::memcpy(dest, cursor_, n);
    cursor_ += n;
    return true;
  }
  // Direct access to the unread bytes of the block for a caller that consumes
  // several at once: Available() of them start at Cursor(); Advance moves past n.
  uint32_t Available() const { return static_cast<uint32_t>(end_ - cursor_); }
  const uint8_t* Cursor() const { return cursor_; }
  void Advance(uint32_t n) { cursor_ += n; }
  void Release();
  bool HasBlock() const { return block_ != nullptr; }

 private:
  uint8_t* block_ = nullptr;
  uint8_t* cursor_ = nullptr;
  uint8_t* end_ = nullptr;  // block end while a block is held
};

class BufferedFileWriter {
 public:
  BufferedFileWriter() = default;
  ~BufferedFileWriter() { Release(); }
  BufferedFileWriter(const BufferedFileWriter&) = delete;
  BufferedFileWriter& operator=(const BufferedFileWriter&) = delete;

  // Buffers count bytes, writing each full block. A null src flushes what is
  // buffered and releases the block.
  bool Write(ExtractRun& run, File& file, const void* src, uint32_t count) {
    if (src != nullptr && block_ != nullptr && count < static_cast<uint32_t>(blockEnd() - cursor_)) {
      std::memcpy(cursor_, src, count);
      cursor_ += count;
      return true;
    }
    return WriteSlow(run, file, src, count);
  }
  // Drops buffered bytes without writing them (a stopped run).
  void Release();

 private:
  bool WriteSlow(ExtractRun& run, File& file, const void* src, uint32_t count);
  uint8_t* blockEnd() const { return block_ + kFileBlockSize; }
  uint8_t* block_ = nullptr;
  uint8_t* cursor_ = nullptr;
};

}  // namespace qv
