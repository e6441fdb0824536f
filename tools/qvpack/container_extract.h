#pragma once
// Extraction and verification with setup.exe's own engine, run natively:
// "<InstallPath>" and "<SamplePath>" come from the options, every other
// folder macro names a sub-folder of foldersDir (foldersDir/CommonData, ...).
#include <cstdint>
#include <string>
#include <vector>

#include "tools/qvpack/container_reader.h"

namespace qv {

struct ExtractOptions {
  std::string installDir;
  std::string examplesName;  // empty: the examples land on <CommonDesktop>
  std::string foldersDir;
};

// On success written holds each entry's destination, in directory order.
bool ExtractContainer(const std::string& path, const ExtractOptions& options,
                      std::vector<std::string>& written, std::string& error);

// Checks the container checksum, decodes everything into a scratch folder
// (removed afterwards), checks every entry's checksum and that the stream
// ends at the container's last byte. error lists every fault found.
bool VerifyContainer(const std::string& path, ContainerInfo& info, std::string& error);

}  // namespace qv
