#pragma once
// The 33-multiplier checksum: h = h * 33 + byte over every byte, modulo 2^32,
// from 0; a final 0 is replaced by kChecksumOfZero, so 0 means "not computed".
#include <cstddef>
#include <cstdint>
#include <string>

#include "archive/archive_format.h"

namespace qv {

class File;

// Folds bytes into a running value; start with 0, finish with FinishChecksum.
uint32_t FoldChecksum(uint32_t h, const void* data, size_t size);
inline uint32_t FinishChecksum(uint32_t h) { return h == 0 ? kChecksumOfZero : h; }
// Checksum of a byte buffer (never 0).
inline uint32_t ComputeChecksum(const void* data, size_t size) {
  return FinishChecksum(FoldChecksum(0, data, size));
}

enum class ChecksumMode { SkipHeader, WholeFile };
// Checksum of an open file from offset 0 (SkipHeader leaves out its first 4
// bytes); 0 when a seek or read fails or the header is short.
uint32_t ComputeOpenFileChecksum(File& file, ChecksumMode mode);

// True when the file's first 4 bytes (little-endian) equal the checksum of the rest.
bool VerifyArchiveChecksum(const std::u16string& path);
// Checksum of the whole file, 0 when it cannot be opened or read.
uint32_t ComputeFileChecksum(const std::u16string& path);

}  // namespace qv
