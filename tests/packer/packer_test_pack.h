#pragma once
// Packs a set of files through a manifest and extracts them with the engine.
#include <string>
#include <vector>

#include "tests/packer/packer_test_files.h"
#include "tools/qvpack/container_writer.h"

namespace qv_test {

struct FileSpec {
  std::string kind;  // manifest kind
  bool compressed;
  std::string destination;  // UTF-8, with its macro
  Bytes content;
};

// Where extraction puts a destination under root: <InstallPath> is root/install,
// <SamplePath> root/folders/CommonDesktop, any other macro root/folders/<name>.
std::string ExtractedPath(const std::string& root, const std::string& destination);

// Writes the sources and a manifest into root/src, then builds root/out.qvc.
bool Pack(const std::string& root, const std::vector<FileSpec>& files, qv::ParseMode mode,
          qv::PackReport& report, std::string& error);

// Extracts root/out.qvc as described for ExtractedPath.
bool Unpack(const std::string& root, std::string& error);

}  // namespace qv_test
