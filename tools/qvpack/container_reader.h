#pragma once
// Reads a container's directory through setup.exe's own decoder.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/qvpack/container_writer.h"

namespace qv {

struct ContainerInfo {
  uint64_t fileBytes = 0;
  uint32_t storedChecksum = 0;
  std::vector<PackedEntry> entries;  // destinations as written, macros not expanded
  uint32_t directoryStreamBytes = 0;  // archive bytes that hold the directory's tokens
};

bool ReadContainerDirectory(const std::string& path, ContainerInfo& info, std::string& error);

}  // namespace qv
