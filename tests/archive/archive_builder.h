#pragma once
// Test-only builders of LZ streams and payload containers, field by field, and
// small file helpers for the archive tests.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_format.h"

namespace qv::test {

using Bytes = std::vector<uint8_t>;

// Writes tokens most significant bit first, with no alignment between them.
class BitWriter {
 public:
  void Bits(uint32_t value, uint32_t count);
  void Literal(uint8_t byte) { Bits(0, 1), Bits(byte, 8); }
  void Match(uint32_t offset, uint32_t length, uint8_t literal);  // length 1..32
  void Literals(const Bytes& bytes) {
    for (uint8_t b : bytes) Literal(b);
  }
  uint64_t BitCount() const { return bits_; }
  // The stream so far, its last byte padded with zero bits.
  Bytes Finish() const { return bytes_; }

 private:
  Bytes bytes_;
  uint64_t bits_ = 0;
};

struct TestEntry {
  std::u16string path;  // as stored: may hold macros
  Bytes data;
  bool compressed = true;
  uint32_t kind = ENTRY_KIND_FILE;
  bool verified = true;  // false: checksum field 0
};

Bytes Utf16Path(const std::u16string& path);
Bytes BuildDirectory(const std::vector<TestEntry>& entries);
// Directory and compressed data as literal tokens, then the stored data.
Bytes BuildStream(const std::vector<TestEntry>& entries);
// Stream with the checksum header in front.
Bytes BuildContainer(const Bytes& stream);
inline Bytes BuildContainer(const std::vector<TestEntry>& entries) {
  return BuildContainer(BuildStream(entries));
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);
Bytes ReadBytes(const std::filesystem::path& path);
Bytes PatternBytes(size_t size, uint32_t seed);

// A fresh folder under the system's temporary folder, removed with its content.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }
  std::u16string u16() const { return path_.u16string(); }
  // Every "qv" temporary file anywhere below the folder.
  std::vector<std::filesystem::path> QvTemporaries() const;
  // Every regular file below the folder.
  std::vector<std::filesystem::path> Files() const;

 private:
  std::filesystem::path path_;
};

}  // namespace qv::test
