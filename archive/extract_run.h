#pragma once
// The state of one extraction run that the decode step, the reader and the
// writer share with the engine: the archive, its reader, the event record and
// counters, the dispatch to the callback and the error stop.
#include <cstdint>

#include "archive/buffered_file.h"
#include "archive/extract_event.h"
#include "system/file_io.h"

namespace qv {

class ExtractRun {
 public:
  ExtractRun() = default;
  ExtractRun(const ExtractRun&) = delete;
  ExtractRun& operator=(const ExtractRun&) = delete;

  // Sets progressMark for EXTRACT_PROGRESS and EXTRACT_BEGIN, then asks the
  // callback; EXTRACT_CONTINUE without one.
  int32_t Dispatch(uint32_t code) {
    if (code == EXTRACT_PROGRESS) {
      progressMark = event.doneBytes;
    } else if (code == EXTRACT_BEGIN) {
      progressMark = 0;
    }
    if (callback == nullptr) return EXTRACT_CONTINUE;
    event.code = code;
    return callback(&event);
  }

  // Ends the run: sets status (and systemError from the last Windows error for
  // EXTRACT_ERR_SYSTEM), releases the reader and closes the archive, sends
  // EXTRACT_FAILED.
  void ErrorStop(int32_t stopStatus);

  int32_t status = EXTRACT_OK;
  uint32_t systemError = 0;
  File archiveFile;
  BufferedFileReader reader;
  ExtractEvent event{};
  ExtractCallback callback = nullptr;
  uint32_t progressMark = 0;
};

}  // namespace qv
