#pragma once
// The string tables compiled into the program's resources.
#ifdef _WIN32
#include <windows.h>

#include "app/text_table.h"

namespace qv {

class ResourceTextTable : public TextTable {
 public:
  // The module whose string resources are read; null is the executable.
  explicit ResourceTextTable(HINSTANCE module = nullptr) : module(module) {}
  bool Load(unsigned resourceId, std::u16string& text) const override;

 private:
  HINSTANCE module;
};

}  // namespace qv
#endif
