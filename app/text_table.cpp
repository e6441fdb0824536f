#include "app/text_table.h"

namespace qv {

bool MapTextTable::Load(unsigned resourceId, std::u16string& text) const {
  auto found = strings.find(resourceId);
  if (found == strings.end()) return false;
  text = found->second;
  return true;
}

}  // namespace qv
