#include "tools/qvpack/container_reader.h"

#include <memory>

#include "archive/archive_format.h"
#include "archive/extract_run.h"
#include "archive/lz_decoder.h"
#include "system/file_io.h"
#include "system/utf16.h"

namespace qv {

namespace {

uint32_t GetLe32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

std::string DecodeFailure(const ExtractRun& run) {
  if (run.status == EXTRACT_ERR_TRUNCATED) return "the archive ends inside its directory";
  return "cannot read the archive (system error " + std::to_string(run.systemError) + ")";
}

}  // namespace

bool ReadContainerDirectory(const std::string& path, ContainerInfo& info, std::string& error) {
  info = ContainerInfo();
  ExtractRun run;
  if (!run.archiveFile.Open(Utf8ToUtf16(path), FileAccess::Read, FileShare::Read,
                            FileDisposition::OpenExisting, kFileFlagSequentialScan)) {
    error = path + ": cannot open (system error " + std::to_string(GetLastFileError()) + ")";
    return false;
  }
  uint8_t header[kContainerHeaderSize];
  uint32_t got = 0;
  if (!run.archiveFile.GetSize(&info.fileBytes) ||
      !run.archiveFile.Read(header, sizeof header, &got) || got != sizeof header) {
    error = path + ": shorter than its 4-byte checksum";
    return false;
  }
  info.storedChecksum = GetLe32(header);

  // The most a stream of this length can decode to: 33 bytes per 26-bit token.
  const uint64_t streamBits = (info.fileBytes - kContainerHeaderSize) * 8;
  const uint64_t decodableBytes = streamBits / kMatchTokenBits * kMaxStepOutput + kMaxStepOutput;

  auto decoder = std::make_unique<LzDecoder>();
  std::vector<uint8_t> directory;
  uint32_t directorySize = kDirectorySizeFieldSize;
  uint8_t step[kMaxStepOutput];
  while (directory.size() < directorySize) {
    uint32_t n = LzDecodeStep(run, step, LzMode::Compressed, *decoder);
    if (n == 0) {
      error = path + ": " + DecodeFailure(run);
      return false;
    }
    directory.insert(directory.end(), step, step + n);
    if (directorySize == kDirectorySizeFieldSize && directory.size() >= kDirectorySizeFieldSize) {
      directorySize = GetLe32(directory.data());
      const uint32_t records = directorySize - kDirectorySizeFieldSize;
      if (directorySize < kDirectorySizeFieldSize + kEntrySize || records % kEntrySize != 0 ||
          directorySize > decodableBytes) {
        error = path + ": invalid directory size " + std::to_string(directorySize);
        return false;
      }
    }
  }

  info.directoryStreamBytes = run.event.archiveBytesRead;
  const uint32_t count = (directorySize - kDirectorySizeFieldSize) / kEntrySize;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* record = directory.data() + kDirectorySizeFieldSize + i * kEntrySize;
    PackedEntry entry;
    entry.size = GetLe32(record + kEntryOffsetSize);
    entry.checksum = GetLe32(record + kEntryOffsetChecksum);
    entry.compressed = record[kEntryOffsetCompressed] != 0;
    entry.kind = GetLe32(record + kEntryOffsetKind);
    for (uint32_t u = 0; u < kPathUnits; ++u) {
      char16_t unit = static_cast<char16_t>(record[kEntryOffsetPath + 2 * u] |
                                            record[kEntryOffsetPath + 2 * u + 1] << 8);
      if (unit == 0) break;
      entry.destination += unit;
    }
    if (entry.destination.size() == kPathUnits) {
      error = path + ": entry " + std::to_string(i) + " has an unterminated path";
      return false;
    }
    info.entries.push_back(entry);
  }
  return true;
}

}  // namespace qv
