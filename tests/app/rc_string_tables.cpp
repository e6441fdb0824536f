#include "tests/app/rc_string_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "system/utf16.h"

namespace qv::test {

namespace {

class Scanner {
 public:
  explicit Scanner(std::string text) : text(std::move(text)) {}

  void SkipBlanks() {
    for (;;) {
      while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
      if (text.compare(at, 2, "//") != 0) return;
      while (at < text.size() && text[at] != '\n') ++at;
    }
  }
  bool AtEnd() {
    SkipBlanks();
    return at >= text.size();
  }
  std::string Word() {
    SkipBlanks();
    size_t start = at;
    while (at < text.size() && (std::isalnum(static_cast<unsigned char>(text[at])) || text[at] == '_')) ++at;
    if (start == at && at < text.size()) ++at;  // a punctuation mark on its own
    return text.substr(start, at - start);
  }
  bool Number(unsigned& value) {
    std::string word = Word();
    if (word.empty() || !std::isdigit(static_cast<unsigned char>(word[0]))) return false;
    value = static_cast<unsigned>(std::stoul(word, nullptr, 0));
    return true;
  }
  bool Peek(char c) {
    SkipBlanks();
    return at < text.size() && text[at] == c;
  }
  bool String(std::string& value) {
    SkipBlanks();
    if (at >= text.size() || text[at] != '"') return false;
    value.clear();
    for (++at; at < text.size(); ++at) {
      char c = text[at];
      if (c == '"') {
        if (at + 1 < text.size() && text[at + 1] == '"') {
          value += '"';
          ++at;
          continue;
        }
        ++at;
        return true;
      }
      if (c == '\n') return false;
      if (c != '\\') {
        value += c;
        continue;
      }
      if (++at >= text.size()) return false;
      switch (text[at]) {
        case 'r': value += '\r'; break;
        case 'n': value += '\n'; break;
        case 't': value += '\t'; break;
        case '\\': value += '\\'; break;
        case '"': value += '"'; break;
        default: return false;
      }
    }
    return false;
  }
  size_t Line() const { return 1 + std::count(text.begin(), text.begin() + std::min(at, text.size()), '\n'); }

 private:
  std::string text;
  size_t at = 0;
};

}  // namespace

bool ParseRcStringTables(const std::string& path, std::vector<RcStringTable>& tables, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  std::stringstream content;
  content << in.rdbuf();
  Scanner scan(content.str());
  auto fail = [&](const std::string& what) {
    error = path + ":" + std::to_string(scan.Line()) + ": " + what;
    return false;
  };
  while (!scan.AtEnd()) {
    unsigned primary = 0, sub = 0;
    if (scan.Word() != "LANGUAGE" || !scan.Number(primary) || scan.Word() != "," || !scan.Number(sub)) {
      return fail("LANGUAGE primary, sub expected");
    }
    if (scan.Word() != "STRINGTABLE" || scan.Word() != "BEGIN") return fail("STRINGTABLE BEGIN expected");
    RcStringTable table;
    table.file = std::filesystem::path(path).filename().string();
    table.lcid = (sub << 10) | primary;
    for (;;) {
      if (scan.AtEnd()) return fail("END missing");
      unsigned id = 0;
      if (scan.Peek('E')) {
        if (scan.Word() != "END") return fail("END expected");
        break;
      }
      if (!scan.Number(id)) return fail("string id expected");
      if (scan.Peek(',')) scan.Word();
      std::string value;
      if (!scan.String(value)) return fail("string expected");
      if (!table.strings.emplace(id, Utf8ToUtf16(value)).second) return fail("id given twice");
    }
    tables.push_back(std::move(table));
  }
  return true;
}

const std::vector<RcStringTable>& ProjectStringTables() {
  static const std::vector<RcStringTable> tables = [] {
    std::vector<RcStringTable> all;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(QV_RESOURCES_DIR)) {
      std::string name = entry.path().filename().string();
      if (name.rfind("strings_", 0) == 0 && entry.path().extension() == ".rc") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      std::string error;
      EXPECT_TRUE(ParseRcStringTables(file.string(), all, error)) << error;
    }
    return all;
  }();
  return tables;
}

MapTextTable ProjectTextTable() {
  MapTextTable table;
  for (const RcStringTable& rc : ProjectStringTables()) {
    for (const auto& [id, text] : rc.strings) table.Set(id, text);
  }
  return table;
}

}  // namespace qv::test
