#pragma once
// The packer's manifest: one entry per line, four tab-separated fields
//   kind  mode  destination  source
// kind: file | program | uninstaller | keep-existing | not-on-update
// mode: compressed | stored; destination begins with a folder macro;
// source is relative to the manifest's folder. '#' starts a comment line.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct ManifestEntry {
  uint32_t kind = 0;        // ENTRY_KIND_*
  bool compressed = false;  // false: stored
  std::u16string destination;
  std::string sourcePath;   // resolved against the manifest's folder
  std::string origin;       // "manifest:line", for messages about this entry
};

// Parses manifest text; baseDir resolves relative sources and manifestName
// prefixes every message. Sources are not touched.
bool ParseManifest(const std::string& text, const std::string& manifestName,
                   const std::string& baseDir, std::vector<ManifestEntry>& entries,
                   std::string& error);

// Reads and parses the manifest file, then checks that every source is a
// readable regular file.
bool ReadManifest(const std::string& path, std::vector<ManifestEntry>& entries,
                  std::string& error);

// Why a destination cannot be packed, or empty when it can.
std::string CheckDestination(const std::u16string& destination);

}  // namespace qv
