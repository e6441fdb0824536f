// Fuzz target: an archive stream, given the container checksum it needs so that
// it reaches the decoder, extracted by the engine into a scratch folder. Entries
// whose destination leaves the installation folder are cancelled, so the run never
// writes elsewhere. A failed run must leave no file and no "qv" temporary.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/archive_extractor.h"
#include "archive/checksum.h"
#include "tests/reliability/fuzz/fuzz_support.h"

namespace {

int32_t CancelOutsideTheFolder(const qv::ExtractEvent* event) {
  if (event->code != qv::EXTRACT_ENTRY_BEGIN) return qv::EXTRACT_CONTINUE;
  const auto& inside = *static_cast<const std::u16string*>(event->owner);
  const std::u16string path = event->entryPath;
  const bool safe = path.size() > inside.size() && path.compare(0, inside.size(), inside) == 0 &&
                    path.find(u"..") == std::u16string::npos;
  return safe ? qv::EXTRACT_CONTINUE : qv::EXTRACT_CANCEL;
}

bool AnyFileBelow(const std::filesystem::path& folder) {
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_directory()) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path scratch = qv::fuzz::ScratchFolder();
  const std::filesystem::path container = scratch / "payload.bin";
  const std::filesystem::path install = scratch / "install";
  {
    const uint32_t checksum = qv::ComputeChecksum(data, size);
    const char header[4] = {static_cast<char>(checksum), static_cast<char>(checksum >> 8),
                            static_cast<char>(checksum >> 16), static_cast<char>(checksum >> 24)};
    std::ofstream out(container, std::ios::binary | std::ios::trunc);
    out.write(header, 4);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  qv::CArchiveExtractor engine;
  engine.Setup(install.u16string());
  const std::u16string inside = engine.installFolder + u"\\";
  engine.SetCallback(&CancelOutsideTheFolder, const_cast<std::u16string*>(&inside));
  const bool done = engine.Extract(container.u16string());
  if (done) {
    qv::fuzz::Require(engine.status == qv::EXTRACT_OK, "a finished run has no failure status");
  } else {
    qv::fuzz::Require(engine.status >= qv::EXTRACT_ERR_SYSTEM && engine.status <= qv::EXTRACT_ERR_TRUNCATED,
                      "a failed run has a failure status");
    qv::fuzz::Require(!AnyFileBelow(install), "a failed run leaves no file");
  }
  qv::fuzz::RemoveTree(install);
  return 0;
}
