#pragma once
// Reads the string tables straight from the UTF-8 resource scripts, so the tests
// check the very texts the resource compiler gets.
#include <map>
#include <string>
#include <vector>

#include "app/text_table.h"

namespace qv::test {

struct RcStringTable {
  std::string file;
  unsigned lcid = 0;
  std::map<unsigned, std::u16string> strings;
};

// Every LANGUAGE + STRINGTABLE block of one script; false with a message on a syntax error.
bool ParseRcStringTables(const std::string& path, std::vector<RcStringTable>& tables, std::string& error);

// All tables of resources/strings_*.rc; fails the calling test on a syntax error.
const std::vector<RcStringTable>& ProjectStringTables();

// Every string of every table, by resource id.
MapTextTable ProjectTextTable();

}  // namespace qv::test
