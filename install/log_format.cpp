#include "install/log_format.h"

#include <cstdint>

#include "install/ansi_text.h"
#include "system/strict_integer.h"

namespace qv {
namespace {

const std::u16string kHeaderPrefix = u"// ";
const std::u16string kLineEnd = u"\r\n";
const std::u16string kUninstallKeyText =
    u"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel 4";
const std::u16string kRegistrationText = u"HKEY_CLASSES_ROOT\\...";

std::u16string Ascii(const char* text) {
  std::u16string out;
  for (; *text; ++text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return out;
}

// The white space that the wide-character classification of the platform knows.
bool IsWhiteSpace(char16_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

void TrimTrailingWhiteSpace(std::u16string& text) {
  std::size_t end = text.size();
  while (end > 0 && IsWhiteSpace(text[end - 1])) --end;
  text.resize(end);
}

void TrimLeading(std::u16string& text, bool (*remove)(char16_t)) {
  std::size_t start = 0;
  while (start < text.size() && remove(text[start])) ++start;
  text.erase(0, start);
}

// Removes every occurrence of word (left to right, not overlapping); the count removed.
std::size_t RemoveAll(std::u16string& text, std::u16string_view word) {
  std::u16string out;
  std::size_t count = 0;
  std::size_t from = 0;
  for (std::size_t at = text.find(word.data(), 0, word.size()); at != std::u16string::npos;
       at = text.find(word.data(), from, word.size())) {
    out.append(text, from, at - from);
    from = at + word.size();
    ++count;
  }
  out.append(text, from, std::u16string::npos);
  text = std::move(out);
  return count;
}

// The four characters at `at` form one whole number.
bool IsNumberAt(const std::u16string& text, std::size_t at, int base, std::int32_t& value) {
  bool notWhole = true;
  value = ParseStrictInteger(std::u16string_view(text).substr(at, 4), base, &notWhole);
  return !notWhole;
}

// "%04d:%04X:%d -- path"; false for a damaged line.
bool ParseEntryLine(std::u16string line, LogEntry& entry) {
  std::int32_t value = 0;
  if (line.size() < 5 || !IsNumberAt(line, 0, 10, value) || line[4] != u':') return false;
  line.erase(0, 5);
  if (line.size() < 5 || !IsNumberAt(line, 0, 16, value) || line[4] != u':') return false;
  const std::int32_t kind = value >> 8;
  if (kind < 0 || kind > LOG_KIND_LAST) return false;
  const std::int32_t role = value & 0xFF;
  line.erase(0, 5);
  if (line.empty() || (line[0] != u'0' && line[0] != u'1')) return false;
  entry = LogEntry();
  entry.kind = static_cast<LogEntryKind>(kind);
  entry.role = role == 0xFF ? LOG_ROLE_NONE : role;
  entry.done = line[0] == u'1';
  line.erase(0, 1);
  TrimLeading(line, [](char16_t c) { return c == u' ' || c == u'-'; });
  if (entry.kind != LOG_UNINSTALL_KEY && entry.kind != LOG_REGISTRATION) entry.path = std::move(line);
  return true;
}

// Splits the file into lines (line ends kept), in UTF-16; a line longer than the reader's
// limit ends the list there.
std::vector<std::u16string> SplitLines(std::string_view bytes) {
  std::vector<std::u16string> lines;
  if (bytes.size() >= 2 && bytes[0] == LOG_BYTE_ORDER_MARK[0] && bytes[1] == LOG_BYTE_ORDER_MARK[1]) {
    std::u16string line;
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
      const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                                  static_cast<unsigned char>(bytes[at + 1]) << 8);
      line.push_back(unit);
      if (line.size() * 2 > LOG_MAX_LINE_BYTES) return lines;
      if (unit == 0x000A) lines.push_back(std::move(line)), line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    end = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end - start > LOG_MAX_LINE_BYTES) return lines;
    lines.push_back(AnsiToUtf16(bytes.substr(start, end - start)));
    start = end;
  }
  return lines;
}

}  // namespace

const char LOG_BYTE_ORDER_MARK[2] = {'\xFF', '\xFE'};

std::u16string FormatLogEntryLine(std::size_t index, const LogEntry& entry) {
  const unsigned code = static_cast<unsigned>(entry.kind) * 256u + (static_cast<unsigned>(entry.role) & 0xFFu);
  std::string number = std::to_string(index);
  if (number.size() < 4) number.insert(0, 4 - number.size(), '0');
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned rest = code; rest != 0 || hex.size() < 4; rest >>= 4) hex.insert(hex.begin(), kHex[rest & 0xF]);
  std::u16string line = Ascii((number + ":" + hex + ":" + (entry.done ? "1" : "0") + " -- ").c_str());
  if (entry.kind == LOG_UNINSTALL_KEY) {
    line += kUninstallKeyText;
  } else if (entry.kind == LOG_REGISTRATION) {
    line += kRegistrationText;
  } else {
    line += entry.path;
  }
  return line + kLineEnd;
}

std::vector<std::u16string> FormatLogLines(const LogHeaderTexts& header,
                                           const std::vector<LogEntry>& entries) {
  std::u16string installLine = u"Install " + header.productName;
  if (!header.previousProductName.empty()) {
    installLine += u" -- Update (" + header.previousProductName + u")";
  }
  const std::u16string shortcutLine = u"Shortcut Path : " + header.menuFolder;
  const std::u16string texts[] = {
      u"Uninstall Log File v1",
      u"############ WARNING: Do not delete or modify this file. ############",
      installLine,
      u"Install Path : " + header.installFolder,
      shortcutLine,
      std::u16string(shortcutLine.size(), u'-'),
  };
  std::vector<std::u16string> lines;
  lines.reserve(6 + entries.size());
  for (const std::u16string& text : texts) lines.push_back(kHeaderPrefix + text + kLineEnd);
  for (std::size_t i = 0; i < entries.size(); ++i) lines.push_back(FormatLogEntryLine(i, entries[i]));
  return lines;
}

std::string EncodeUtf16Le(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

ParsedLog ParseLogText(std::string_view fileBytes) {
  ParsedLog log;
  bool versionRead = false;
  std::size_t n = 0;
  for (std::u16string& line : SplitLines(fileBytes)) {
    TrimTrailingWhiteSpace(line);
    if (line.empty()) continue;
    const std::size_t number = n++;
    if (line.compare(0, 2, u"//") != 0) {
      LogEntry entry;
      if (!versionRead || !ParseEntryLine(std::move(line), entry)) break;
      log.entries.push_back(std::move(entry));
      continue;
    }
    TrimLeading(line, [](char16_t c) { return c == u'/'; });
    TrimLeading(line, IsWhiteSpace);
    if (number == 0) {
      if (RemoveAll(line, u"Uninstall Log File v") != 1) break;
      if (ParseStrictInteger(line, 10, nullptr) != 1) break;
      versionRead = true;
    } else if (number == 2) {
      if (RemoveAll(line, u"Install") != 1) break;
      const std::size_t dashes = line.find(u"--");
      if (dashes != std::u16string::npos) line.resize(dashes);
      TrimLeading(line, IsWhiteSpace);
      TrimTrailingWhiteSpace(line);
      log.previousProductName = std::move(line);
    } else if (number == 3 || number == 4) {
      if (RemoveAll(line, number == 3 ? u"Install Path" : u"Shortcut Path") != 1) break;
      TrimLeading(line, [](char16_t c) { return c == u' ' || c == u':'; });
      (number == 3 ? log.installPathText : log.shortcutPathText) = std::move(line);
    }
  }
  return log;
}

}  // namespace qv
