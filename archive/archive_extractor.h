#pragma once
// The extraction engine: opens the payload container, checks it, decodes the
// directory and every entry to its destination (each through a temporary file
// in the destination folder), verifies the written files, and reports every
// step to one callback. A failed run deletes what it wrote.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive_format.h"
#include "archive/buffered_file.h"
#include "archive/extract_event.h"
#include "archive/extract_run.h"
#include "archive/lz_decoder.h"
#include "system/file_io.h"

namespace qv {

class CArchiveExtractor : public ExtractRun {
 public:
  CArchiveExtractor() = default;

  // Stores the folders trimmed of white space, cut to 260 characters, with one
  // trailing backslash removed unless the folder is a drive root.
  void Setup(const std::u16string& installFolder, const std::u16string& examplesFolder = {});
  void SetCallback(ExtractCallback cb, void* owner) {
    callback = cb;
    event.owner = owner;
  }

  // True when every entry was written and verified (EXTRACT_DONE sent); false
  // with status (and systemError) set otherwise (EXTRACT_FAILED sent).
  bool Extract(const std::u16string& containerPath);

  std::u16string installFolder;
  std::u16string examplesFolder;
  uint32_t directorySize = 0;

 private:
  enum class Phase { DirectorySize, Directory, CompressedData, StoredData };

  bool ConsumeStep(const uint8_t* bytes, uint32_t n);
  bool TakeDirectoryByte(uint8_t byte);
  bool CheckDirectorySize();
  bool FinishDirectory();
  bool BeginEntry();
  bool EndEntry();
  bool BeginEmptyEntries();
  bool VerifyEntries();
  bool FailurePath();
  void ReleaseRun();
  uint8_t* EntryAt(uint32_t index) {
    return directory_.get() + kDirectorySizeFieldSize + static_cast<size_t>(index) * kEntrySize;
  }

  Phase phase_ = Phase::DirectorySize;
  std::unique_ptr<uint8_t[]> directory_;
  uint32_t directoryHeld_ = 0;
  uint32_t entryCount_ = 0;
  uint32_t entryIndex_ = 0;  // entries begun so far
  bool entryOpen_ = false;
  bool entrySkipped_ = false;
  std::unique_ptr<LzDecoder> decoder_;
  uint64_t archiveLength_ = 0;
  File entryFile_;
  BufferedFileWriter writer_;
  std::u16string entryTempPath_;  // empty when the destination is written directly
  std::vector<bool> skipped_;
  // Expanded paths, 0-terminated: entry records are packed, so a path inside the
  // directory may sit at an odd address; events point here instead.
  std::vector<std::u16string> paths_;
};

}  // namespace qv
