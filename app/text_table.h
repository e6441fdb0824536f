#pragma once
// Where localised texts are loaded from: the program's string resources on Windows,
// a table given by the caller elsewhere (tests).
#include <map>
#include <string>

namespace qv {

class TextTable {
 public:
  virtual ~TextTable() = default;
  // False when no string has this resource id.
  virtual bool Load(unsigned resourceId, std::u16string& text) const = 0;
};

class MapTextTable : public TextTable {
 public:
  MapTextTable() = default;
  explicit MapTextTable(std::map<unsigned, std::u16string> strings) : strings(std::move(strings)) {}
  bool Load(unsigned resourceId, std::u16string& text) const override;
  void Set(unsigned resourceId, std::u16string text) { strings[resourceId] = std::move(text); }

 private:
  std::map<unsigned, std::u16string> strings;
};

}  // namespace qv
