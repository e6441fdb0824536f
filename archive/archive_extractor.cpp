#include "archive/archive_extractor.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "archive/checksum.h"
#include "archive/path_macros.h"
#include "archive/pump_messages.h"

namespace qv {

namespace {

constexpr uint32_t kMaxFolderUnits = 260;
// GetTempFileName needs room for its 14-unit name after the folder.
constexpr size_t kMaxTempFolderUnits = 246;
const std::u16string kTempPrefix = u"qv";

uint32_t ReadU32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void WriteU32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Trimmed, at most 260 units, one trailing backslash removed unless a root.
std::u16string NormalizeFolder(const std::u16string& folder) {
  size_t first = 0;
  size_t last = folder.size();
  while (first < last && IsSpace(folder[first])) ++first;
  while (last > first && IsSpace(folder[last - 1])) --last;
  std::u16string result = folder.substr(first, std::min<size_t>(last - first, kMaxFolderUnits));
  const bool driveRoot = result.size() == 3 && result[1] == u':';
  if (!result.empty() && result.back() == u'\\' && result.size() > 1 && !driveRoot) result.pop_back();
  return result;
}

// Most bytes an LZ stream of streamBytes can decode to: 33 per 26-bit token.
uint64_t MaxDecodedBytes(uint64_t streamBytes) {
  return (streamBytes * 8 / kMatchTokenBits + 1) * kMaxStepOutput;
}

}  // namespace

void CArchiveExtractor::Setup(const std::u16string& install, const std::u16string& examples) {
  installFolder = NormalizeFolder(install);
  examplesFolder = NormalizeFolder(examples);
}

bool CArchiveExtractor::Extract(const std::u16string& containerPath) {
  void* owner = event.owner;
  event = ExtractEvent{};
  event.owner = owner;
  event.extractor = this;
  status = EXTRACT_OK;
  systemError = 0;
  directory_.reset();
  directoryHeld_ = 0;
  directorySize = 0;
  entryCount_ = 0;
  entryIndex_ = 0;
  entryOpen_ = false;
  entrySkipped_ = false;
  skipped_.clear();
  paths_.clear();
  entryTempPath_.clear();

  Dispatch(EXTRACT_BEGIN);
  if (!archiveFile.Open(containerPath, FileAccess::Read, FileShare::Read,
                        FileDisposition::OpenExisting, kFileFlagSequentialScan)) {
    ErrorStop(EXTRACT_ERR_SYSTEM);
    return false;
  }
  reader.Release();
  if (!VerifyArchiveChecksum(containerPath)) {
    ErrorStop(EXTRACT_ERR_ARCHIVE);
    return FailurePath();
  }
  uint8_t storedChecksum[kContainerHeaderSize];
  uint32_t got = 0;
  if (!archiveFile.Read(storedChecksum, kContainerHeaderSize, &got) || got < kContainerHeaderSize) {
    ErrorStop(EXTRACT_ERR_TRUNCATED);
    return FailurePath();
  }
  if (!archiveFile.GetSize(&archiveLength_)) {
    ErrorStop(EXTRACT_ERR_SYSTEM);
    return FailurePath();
  }
  Dispatch(EXTRACT_ARCHIVE_OK);

  decoder_.reset(new (std::nothrow) LzDecoder());
  directory_.reset(new (std::nothrow) uint8_t[kDirectorySizeFieldSize]);
  if (!decoder_ || !directory_) {
    SetLastFileError(kErrorNotEnoughMemory);
    ErrorStop(EXTRACT_ERR_SYSTEM);
    return FailurePath();
  }
  phase_ = Phase::DirectorySize;

  uint8_t out[kMaxStepOutput];
  do {
    PumpMessages();
    const uint32_t n = LzDecodeStep(*this, out, phase_ == Phase::StoredData ? LzMode::Stored : LzMode::Compressed,
                                    *decoder_);
    if (n == 0) return FailurePath();
    if (entryOpen_ && n < event.entrySize - event.entryDone) {
      // The step lies inside the open entry: no entry boundary to handle.
      if (!entrySkipped_ && !writer_.Write(*this, entryFile_, out, n)) return FailurePath();
      event.entryDone += n;
    } else if (!ConsumeStep(out, n)) {
      return FailurePath();
    }
    if (phase_ == Phase::CompressedData && !entryOpen_ && event.doneBytes < event.totalBytes &&
        entryIndex_ < entryCount_ && EntryAt(entryIndex_)[kEntryOffsetCompressed] == 0) {
      phase_ = Phase::StoredData;
    }
  } while (phase_ == Phase::DirectorySize || phase_ == Phase::Directory || event.doneBytes < event.totalBytes);

  if (!BeginEmptyEntries()) return FailurePath();
  reader.Release();
  archiveFile.Close();
  Dispatch(EXTRACT_VERIFYING);
  if (!VerifyEntries()) return FailurePath();
  directory_.reset();
  Dispatch(EXTRACT_DONE);
  ReleaseRun();
  return true;
}

bool CArchiveExtractor::ConsumeStep(const uint8_t* bytes, uint32_t n) {
  uint32_t i = 0;
  while (i < n) {
    if (phase_ == Phase::DirectorySize || phase_ == Phase::Directory) {
      if (!TakeDirectoryByte(bytes[i++])) return false;
      continue;
    }
    if (!entryOpen_) {
      // Bytes past the last entry come only from a malformed stream: drop them.
      if (entryIndex_ == entryCount_) return true;
      if (!BeginEntry()) return false;
    }
    const uint32_t k = std::min(event.entrySize - event.entryDone, n - i);
    if (!entrySkipped_ && !writer_.Write(*this, entryFile_, bytes + i, k)) return false;
    event.entryDone += k;
    i += k;
    if (event.entryDone == event.entrySize && (!EndEntry() || !BeginEmptyEntries())) return false;
  }
  return true;
}

bool CArchiveExtractor::TakeDirectoryByte(uint8_t byte) {
  directory_[directoryHeld_++] = byte;
  ++event.entryDone;
  if (phase_ == Phase::DirectorySize) {
    return directoryHeld_ < kDirectorySizeFieldSize || CheckDirectorySize();
  }
  return directoryHeld_ < directorySize || FinishDirectory();
}

bool CArchiveExtractor::CheckDirectorySize() {
  const uint32_t size = ReadU32(directory_.get());
  // Checked before the buffer is taken: a corrupt size must not allocate gigabytes.
  if (size < kDirectorySizeFieldSize + kEntrySize || (size - kDirectorySizeFieldSize) % kEntrySize != 0 ||
      size > MaxDecodedBytes(archiveLength_ - kContainerHeaderSize)) {
    ErrorStop(EXTRACT_ERR_ARCHIVE);
    return false;
  }
  std::unique_ptr<uint8_t[]> whole(new (std::nothrow) uint8_t[size]);
  if (!whole) {
    SetLastFileError(kErrorNotEnoughMemory);
    ErrorStop(EXTRACT_ERR_SYSTEM);
    return false;
  }
  std::memcpy(whole.get(), directory_.get(), kDirectorySizeFieldSize);
  directory_ = std::move(whole);
  directorySize = size;
  event.entrySize = size;
  phase_ = Phase::Directory;
  return true;
}

bool CArchiveExtractor::FinishDirectory() {
  entryCount_ = (directorySize - kDirectorySizeFieldSize) / kEntrySize;
  uint64_t total = directorySize;
  for (uint32_t i = 0; i < entryCount_; ++i) {
    const uint8_t* entry = EntryAt(i);
    total += ReadU32(entry + kEntryOffsetSize);
    bool terminated = false;
    for (uint32_t unit = 0; unit < kPathUnits && !terminated; ++unit) {
      const uint8_t* p = entry + kEntryOffsetPath + 2 * unit;
      terminated = p[0] == 0 && p[1] == 0;
    }
    if (!terminated || total > UINT32_MAX) {
      ErrorStop(EXTRACT_ERR_ARCHIVE);
      return false;
    }
  }
  event.totalBytes = static_cast<uint32_t>(total);

  paths_.resize(entryCount_);
  skipped_.assign(entryCount_, false);
  for (uint32_t i = 0; i < entryCount_; ++i) {
    uint8_t* field = EntryAt(i) + kEntryOffsetPath;
    std::u16string path;
    for (uint32_t unit = 0; unit < kPathUnits; ++unit) {
      const char16_t c = static_cast<char16_t>(field[2 * unit] | (field[2 * unit + 1] << 8));
      if (c == 0) break;
      path += c;
    }
    path = ExpandPathMacros(installFolder, examplesFolder, path);
    if (path.size() > kMaxPathUnits) path.resize(kMaxPathUnits);
    std::memset(field, 0, kPathUnits * 2);
    for (size_t unit = 0; unit < path.size(); ++unit) {
      field[2 * unit] = static_cast<uint8_t>(path[unit]);
      field[2 * unit + 1] = static_cast<uint8_t>(path[unit] >> 8);
    }
    paths_[i] = std::move(path);
  }
  phase_ = Phase::CompressedData;
  return BeginEmptyEntries();
}

bool CArchiveExtractor::BeginEmptyEntries() {
  while (!entryOpen_ && entryIndex_ < entryCount_ && ReadU32(EntryAt(entryIndex_) + kEntryOffsetSize) == 0) {
    if (!BeginEntry() || !EndEntry()) return false;
  }
  return true;
}

bool CArchiveExtractor::BeginEntry() {
  uint8_t* entry = EntryAt(entryIndex_);
  const std::u16string& destination = paths_[entryIndex_];
  event.entrySize = ReadU32(entry + kEntryOffsetSize);
  event.entryPath = destination.c_str();
  event.entryKind = ReadU32(entry + kEntryOffsetKind);
  event.entryDone = 0;
  event.entryArchiveBytesRead = 0;

  const int32_t reply = Dispatch(EXTRACT_ENTRY_BEGIN);
  if (reply == EXTRACT_CANCEL || Dispatch(EXTRACT_PROGRESS) == EXTRACT_CANCEL) {
    ErrorStop(EXTRACT_ERR_CANCELLED);
    return false;
  }
  entrySkipped_ = reply == EXTRACT_SKIP;
  if (entrySkipped_) {
    WriteU32(entry + kEntryOffsetChecksum, 0);
    skipped_[entryIndex_] = true;
  } else {
    const uint32_t attributes = GetFileAttributesOf(destination);
    if (attributes != kInvalidFileAttributes && (attributes & kFileAttributeReadOnly) != 0) {
      SetFileAttributesOf(destination, attributes & ~kFileAttributeReadOnly);
    }
    CreateFolderChain(destination);
    std::u16string folder;
    entryTempPath_.clear();
    if (!FolderOfPath(destination, &folder) || folder.size() > kMaxTempFolderUnits ||
        !CreateTempFileIn(folder, kTempPrefix, &entryTempPath_)) {
      entryTempPath_.clear();
    }
    if (!entryFile_.Open(entryTempPath_.empty() ? destination : entryTempPath_, FileAccess::Write,
                         FileShare::None, FileDisposition::CreateAlways, kFileFlagSequentialScan)) {
      ErrorStop(EXTRACT_ERR_SYSTEM);
      return false;
    }
  }
  // Begun from here on: a failure deletes what this entry wrote.
  ++entryIndex_;
  entryOpen_ = true;
  if (!entrySkipped_ &&
      (!entryFile_.Seek(event.entrySize) || !entryFile_.SetEnd() || !entryFile_.Seek(0))) {
    ErrorStop(EXTRACT_ERR_SYSTEM);
    return false;
  }
  return true;
}

bool CArchiveExtractor::EndEntry() {
  if (!entrySkipped_) {
    if (event.entrySize != 0 && !writer_.Write(*this, entryFile_, nullptr, 0)) return false;
    entryFile_.Close();
    if (!entryTempPath_.empty()) {
      const std::u16string& destination = paths_[entryIndex_ - 1];
      DeleteFileAt(destination);
      if (!MoveFileTo(entryTempPath_, destination)) {
        ErrorStop(EXTRACT_ERR_SYSTEM);
        return false;
      }
      entryTempPath_.clear();
    }
  }
  entryOpen_ = false;
  if (Dispatch(EXTRACT_PROGRESS) == EXTRACT_CANCEL ||
      (!entrySkipped_ && Dispatch(EXTRACT_ENTRY_END) == EXTRACT_CANCEL)) {
    ErrorStop(EXTRACT_ERR_CANCELLED);
    return false;
  }
  event.entryPath = nullptr;
  event.entryKind = 0;
  return true;
}

bool CArchiveExtractor::VerifyEntries() {
  for (uint32_t i = 0; i < entryIndex_; ++i) {
    const uint32_t expected = ReadU32(EntryAt(i) + kEntryOffsetChecksum);
    if (expected != 0 && ComputeFileChecksum(paths_[i]) != expected) {
      ErrorStop(EXTRACT_ERR_VERIFY);
      return false;
    }
  }
  return true;
}

bool CArchiveExtractor::FailurePath() {
  writer_.Release();
  entryFile_.Close();
  // The half-written temporary file of the open entry goes too.
  if (!entryTempPath_.empty()) {
    DeleteFileAt(entryTempPath_);
    entryTempPath_.clear();
  }
  for (uint32_t i = 0; i < entryIndex_; ++i) {
    if (!skipped_[i]) DeleteFileAt(paths_[i]);
  }
  ReleaseRun();
  return false;
}

void CArchiveExtractor::ReleaseRun() {
  writer_.Release();
  reader.Release();
  archiveFile.Close();
  directory_.reset();
  decoder_.reset();
  event.entryPath = nullptr;
}

}  // namespace qv
