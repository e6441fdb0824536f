#include "archive/checksum.h"

#include <memory>
#include <new>

#include "system/file_io.h"

namespace qv {

namespace {
constexpr uint32_t kChecksumBlock = 65536;
constexpr uint32_t k33p2 = 33u * 33u;
constexpr uint32_t k33p3 = k33p2 * 33u;
constexpr uint32_t k33p4 = k33p3 * 33u;
}  // namespace

uint32_t FoldChecksum(uint32_t h, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  const uint8_t* end = p + size;
  // Four bytes per multiply: h*33^4 + b0*33^3 + b1*33^2 + b2*33 + b3 (mod 2^32).
  while (end - p >= 4) {
    h = h * k33p4 + (p[0] * k33p3 + p[1] * k33p2 + p[2] * 33u + p[3]);
    p += 4;
  }
  while (p != end) h = h * kChecksumMultiplier + *p++;
  return h;
}

uint32_t ComputeOpenFileChecksum(File& file, ChecksumMode mode) {
  if (!file.Seek(0)) return 0;
  if (mode == ChecksumMode::SkipHeader) {
    uint8_t header[kContainerHeaderSize];
    uint32_t got = 0;
    if (!file.Read(header, kContainerHeaderSize, &got) || got < kContainerHeaderSize) return 0;
  }
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[kChecksumBlock]);
  if (!block) return 0;
  uint32_t h = 0;
  for (;;) {
    uint32_t got = 0;
    if (!file.Read(block.get(), kChecksumBlock, &got)) return 0;
    h = FoldChecksum(h, block.get(), got);
    if (got < kChecksumBlock) return FinishChecksum(h);
  }
}

bool VerifyArchiveChecksum(const std::u16string& path) {
  File file;
  if (!file.Open(path, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting,
                 kFileFlagSequentialScan)) {
    return false;
  }
  const uint32_t computed = ComputeOpenFileChecksum(file, ChecksumMode::SkipHeader);
  if (computed == 0) return false;
  uint8_t stored[kContainerHeaderSize];
  uint32_t got = 0;
  if (!file.Seek(0) || !file.Read(stored, kContainerHeaderSize, &got)) got = 0;
  if (got != kContainerHeaderSize) return false;
  const uint32_t value = stored[0] | (stored[1] << 8) | (stored[2] << 16) | (static_cast<uint32_t>(stored[3]) << 24);
  return value == computed;
}

uint32_t ComputeFileChecksum(const std::u16string& path) {
  File file;
  if (!file.Open(path, FileAccess::Read, FileShare::ReadWrite, FileDisposition::OpenExisting,
                 kFileFlagSequentialScan)) {
    return 0;
  }
  return ComputeOpenFileChecksum(file, ChecksumMode::WholeFile);
}

}  // namespace qv
