// Fuzz target: the packer's manifest parser. An accepted manifest holds only
// destinations the packer's own check accepts.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/reliability/fuzz/fuzz_support.h"
#include "tools/qvpack/manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<qv::ManifestEntry> entries;
  std::string error;
  const bool accepted = qv::ParseManifest(text, "fuzz.manifest", "/fuzz-base", entries, error);
  qv::fuzz::Require(accepted != entries.empty(), "entries exactly when accepted");
  qv::fuzz::Require(accepted || !error.empty(), "a rejected manifest says why");
  for (const qv::ManifestEntry& entry : entries) {
    qv::fuzz::Require(qv::CheckDestination(entry.destination).empty(), "every accepted destination is valid");
    qv::fuzz::Require(entry.kind <= 4, "kind is one of the five");
  }
  return 0;
}
