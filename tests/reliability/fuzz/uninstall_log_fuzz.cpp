// Fuzz target: ReadLog over any file, then WriteLog of what it read. Entries
// read have a known kind, and the fixed-text kinds carry no path.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "install/uninstall_log.h"
#include "tests/reliability/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path folder = qv::fuzz::ScratchFolder();
  const std::filesystem::path input = folder / "input.ulog";
  const std::filesystem::path output = folder / "output.ulog";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  qv::UninstallLog log;
  log.ReadLog(input.u16string(), u"Vantrel 4.05b");
  for (const qv::LogEntry& entry : log.previousEntries) {
    qv::fuzz::Require(entry.kind >= qv::LOG_DIRECTORY && entry.kind <= qv::LOG_REGISTRATION, "kind in 0..6");
    qv::fuzz::Require(entry.role >= -1 && entry.role <= 254, "role is one byte or -1");
    if (entry.kind == qv::LOG_UNINSTALL_KEY || entry.kind == qv::LOG_REGISTRATION) {
      qv::fuzz::Require(entry.path.empty(), "fixed-text kinds have no path");
    }
    qv::fuzz::Require(entry.path.find(u'\n') == std::u16string::npos, "no line end inside a path");
  }
  qv::fuzz::Require(log.previousEntries.size() <= 10000, "at most 10,000 entries");
  log.WriteLog(output.u16string(), log.installPath, log.shortcutPath);
  qv::fuzz::RemoveTree(output);
  return 0;
}
