#pragma once
// The record the extraction engine passes to its callback, the event codes,
// the callback's replies and the status codes a failed run leaves.
#include <cstdint>

namespace qv {

class CArchiveExtractor;

enum : uint32_t {
  EXTRACT_PROGRESS = 1,
  EXTRACT_BEGIN = 0x80010000u,
  EXTRACT_ARCHIVE_OK = 0x80020000u,
  EXTRACT_DONE = 0x80030000u,
  EXTRACT_ENTRY_BEGIN = 0x80040000u,
  EXTRACT_ENTRY_END = 0x80050000u,
  EXTRACT_VERIFYING = 0x80060000u,
  EXTRACT_FAILED = 0x80070000u,
};

// Replies; any other value acts as EXTRACT_CONTINUE.
enum : int32_t {
  EXTRACT_CONTINUE = 0,
  EXTRACT_CANCEL = 1,
  EXTRACT_SKIP = 2,
};

// Status of the stop that ended a run.
enum : int32_t {
  EXTRACT_OK = 0,
  EXTRACT_ERR_SYSTEM = 1,     // systemError holds the Windows error code
  EXTRACT_ERR_VERIFY = 3,     // a written file does not match its checksum
  EXTRACT_ERR_ARCHIVE = 4,    // the container or its directory is invalid
  EXTRACT_ERR_CANCELLED = 5,  // the callback replied EXTRACT_CANCEL
  EXTRACT_ERR_TRUNCATED = 6,  // the archive ends before the expected data
};

struct ExtractEvent {
  uint32_t code;
  uint32_t totalBytes;  // expected decoded length; 0 until the directory is read
  uint32_t doneBytes;   // decoded bytes so far, directory included
  uint32_t archiveBytesRead;  // archive bytes consumed after the checksum field
  uint32_t entrySize;   // directory size while it is read, then the entry's size
  uint32_t entryDone;
  uint32_t entryArchiveBytesRead;
  const char16_t* entryPath;  // expanded destination, null between entries
  uint32_t entryKind;         // 0 between entries
  CArchiveExtractor* extractor;
  void* owner;
};

// Reads the record and returns a reply.
using ExtractCallback = int32_t (*)(const ExtractEvent* event);

}  // namespace qv
