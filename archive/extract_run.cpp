#include "archive/extract_run.h"

namespace qv {

void ExtractRun::ErrorStop(int32_t stopStatus) {
  status = stopStatus;
  if (stopStatus == EXTRACT_ERR_SYSTEM) systemError = GetLastFileError();
  if (archiveFile.IsOpen()) {
    reader.Release();
    archiveFile.Close();
  }
  Dispatch(EXTRACT_FAILED);
}

}  // namespace qv
