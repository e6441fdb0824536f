#pragma once
// Writes a payload container from manifest entries: the checksum, one LZ
// stream over the directory and the compressed entries' data, then the stored
// entries' bytes. The container appears under its name only when complete.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/qvpack/lz_encoder.h"
#include "tools/qvpack/manifest.h"

namespace qv {

struct PackedEntry {
  uint32_t size = 0;
  uint32_t checksum = 0;
  bool compressed = false;  // the flag as written to the directory
  uint32_t kind = 0;
  std::u16string destination;
};

struct PackReport {
  std::vector<PackedEntry> entries;  // in directory order
  uint64_t compressedSectionBytes = 0;  // directory and compressed data, decoded
  uint64_t lzBytes = 0;                 // the LZ stream, last byte included
  uint64_t storedBytes = 0;
  uint64_t containerBytes = 0;
  LzStats lz;
};

// Compressed entries come first, each group in manifest order.
bool WriteContainer(const std::vector<ManifestEntry>& manifest, const std::string& outputPath,
                    ParseMode parse, PackReport& report, std::string& error);

}  // namespace qv
