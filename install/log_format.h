#pragma once
// Text form of "Uninstall.ulog": building its lines and reading them back.
// Plain text processing; the file operations live in UninstallLog.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "install/log_entry.h"

namespace qv {

// Longest line the reader takes, line end included; a longer line stops the reading.
constexpr std::size_t LOG_MAX_LINE_BYTES = 1022;

struct LogHeaderTexts {
  std::u16string productName;
  std::u16string previousProductName;  // empty when this run is no update
  std::u16string installFolder;
  std::u16string menuFolder;
};

// Every line of the file in order, each ending in CR LF: six header lines, then one per entry.
std::vector<std::u16string> FormatLogLines(const LogHeaderTexts& header,
                                           const std::vector<LogEntry>& entries);
// "%04d:%04X:%d -- %s" and CR LF.
std::u16string FormatLogEntryLine(std::size_t index, const LogEntry& entry);

// UTF-16 little-endian bytes, without byte order mark.
std::string EncodeUtf16Le(std::u16string_view text);
extern const char LOG_BYTE_ORDER_MARK[2];

struct ParsedLog {
  std::u16string previousProductName;
  // Folder texts of the header as read; the caller keeps them only if they name existing folders.
  std::u16string installPathText;
  std::u16string shortcutPathText;
  std::vector<LogEntry> entries;
};

// Reads the content of a log file. A file without byte order mark is 8-bit text in the
// ANSI code page. Reading stops at the first damaged line and keeps what came before it.
ParsedLog ParseLogText(std::string_view fileBytes);

}  // namespace qv
