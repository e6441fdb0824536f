#pragma once
// Copies the payload resource (type 260, name 134) of the running program into
// a new "qv" temporary file. Windows only: the payload lives in the executable.
#include <string>

namespace qv {

#ifdef _WIN32
// On success payloadTempFile receives the file's full path. On failure it is
// left unchanged and errorText receives "%08x (%s)": the Windows error code and
// the label of the failed step.
bool CopyPayloadToTempFile(std::u16string& payloadTempFile, std::u16string& errorText);
#endif

}  // namespace qv
