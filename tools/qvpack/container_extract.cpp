#include "tools/qvpack/container_extract.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "archive/archive_extractor.h"
#include "archive/checksum.h"
#include "archive/path_macros.h"
#include "system/file_io.h"
#include "system/utf16.h"

namespace qv {

namespace {

struct RunWatch {
  const ContainerInfo* expected = nullptr;  // checks each entry when set
  std::vector<std::string> written;
  std::string failedAt;
  uint32_t entryIndex = 0;
  uint32_t lastCompressedData = 0;  // 1 + index of the entry that ends the LZ stream, or 0
  uint32_t lzStreamBytes = 0;
  std::vector<std::string> mismatches;
};

int32_t Watch(const ExtractEvent* event) {
  RunWatch& watch = *static_cast<RunWatch*>(event->owner);
  switch (event->code) {
    case EXTRACT_ENTRY_BEGIN:
      ++watch.entryIndex;
      break;
    case EXTRACT_ENTRY_END: {
      std::string path = Utf16ToUtf8(event->entryPath);
      if (watch.expected != nullptr) {
        const PackedEntry& entry = watch.expected->entries[watch.entryIndex - 1];
        uint32_t actual = ComputeFileChecksum(event->entryPath);
        if (entry.checksum != 0 && actual != entry.checksum) {
          char text[64];
          std::snprintf(text, sizeof text, ": checksum %08X, the data gives %08X", entry.checksum,
                        actual);
          watch.mismatches.push_back("entry " + std::to_string(watch.entryIndex - 1) + " (" +
                                     Utf16ToUtf8(entry.destination) + ")" + text);
        }
      }
      watch.written.push_back(path);
      if (watch.entryIndex == watch.lastCompressedData) watch.lzStreamBytes = event->archiveBytesRead;
      break;
    }
    case EXTRACT_FAILED:
      if (event->entryPath != nullptr) watch.failedAt = Utf16ToUtf8(event->entryPath);
      break;
    default:
      break;
  }
  return EXTRACT_CONTINUE;
}

std::string Absolute(const std::string& path) {
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  return absolute.empty() ? path : absolute.lexically_normal().string();
}

std::string StatusText(const CArchiveExtractor& engine, const RunWatch& watch) {
  std::string where = watch.failedAt.empty() ? std::string() : " at '" + watch.failedAt + "'";
  switch (engine.status) {
    case EXTRACT_ERR_SYSTEM:
      return "system error " + std::to_string(engine.systemError) + where;
    case EXTRACT_ERR_VERIFY:
      return "a written file does not match its checksum";
    case EXTRACT_ERR_ARCHIVE:
      return "the container checksum or its directory is invalid";
    case EXTRACT_ERR_TRUNCATED:
      return "the archive ends before its expected data" + where;
    case EXTRACT_ERR_CANCELLED:
      return "cancelled";
    default:
      return "status " + std::to_string(engine.status);
  }
}

bool Run(const std::string& path, const ExtractOptions& options, RunWatch& watch,
         std::string& error) {
  SetMacroFoldersUnder(Utf8ToUtf16(Absolute(options.foldersDir)));
  CArchiveExtractor engine;
  engine.Setup(Utf8ToUtf16(Absolute(options.installDir)), Utf8ToUtf16(options.examplesName));
  engine.SetCallback(Watch, &watch);
  if (engine.Extract(Utf8ToUtf16(path))) return true;
  error = path + ": extraction failed: " + StatusText(engine, watch);
  return false;
}

}  // namespace

bool ExtractContainer(const std::string& path, const ExtractOptions& options,
                      std::vector<std::string>& written, std::string& error) {
  RunWatch watch;
  bool ok = Run(path, options, watch, error);
  written = std::move(watch.written);
  return ok;
}

bool VerifyContainer(const std::string& path, ContainerInfo& info, std::string& error) {
  if (!ReadContainerDirectory(path, info, error)) return false;
  if (!VerifyArchiveChecksum(Utf8ToUtf16(path))) {
    error = path + ": the container checksum does not match its contents";
    return false;
  }
  std::error_code ignored;
  std::string scratchPattern =
      (std::filesystem::temp_directory_path(ignored) / "qvpack-verify-XXXXXX").string();
  std::vector<char> scratch(scratchPattern.begin(), scratchPattern.end());
  scratch.push_back('\0');
  if (mkdtemp(scratch.data()) == nullptr) {
    error = "cannot create a scratch folder to decode into";
    return false;
  }
  ExtractOptions options;
  options.foldersDir = scratch.data();
  options.installDir = std::string(scratch.data()) + "/InstallPath";
  RunWatch watch;
  watch.expected = &info;
  watch.lzStreamBytes = info.directoryStreamBytes;
  uint64_t storedBytes = 0;
  for (uint32_t i = 0; i < info.entries.size(); ++i) {
    if (info.entries[i].compressed && info.entries[i].size > 0) watch.lastCompressedData = i + 1;
    if (!info.entries[i].compressed) storedBytes += info.entries[i].size;
  }
  bool ok = Run(path, options, watch, error);
  std::filesystem::remove_all(scratch.data(), ignored);

  std::string faults;
  for (const std::string& mismatch : watch.mismatches) faults += "\n  " + mismatch;
  // Stored steps read ahead, so the engine's count cannot show bytes after the data.
  const uint64_t used = kContainerHeaderSize + uint64_t{watch.lzStreamBytes} + storedBytes;
  if (ok && used != info.fileBytes) {
    faults += "\n  the archive's data ends at byte " + std::to_string(used) + " of " +
              std::to_string(info.fileBytes);
  }
  if (!faults.empty()) {
    error = (ok ? path + ": damaged" : error) + faults;
    return false;
  }
  return ok;
}

}  // namespace qv
