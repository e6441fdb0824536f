#include "app/resource_text_table.h"

namespace qv {

bool ResourceTextTable::Load(unsigned resourceId, std::u16string& text) const {
  HINSTANCE source = module ? module : GetModuleHandleW(nullptr);
  // With no buffer, LoadStringW points into the resource itself: no length limit.
  const wchar_t* resource = nullptr;
  int length = LoadStringW(source, resourceId, reinterpret_cast<wchar_t*>(&resource), 0);
  if (length <= 0 || !resource) return false;
  text.assign(reinterpret_cast<const char16_t*>(resource), static_cast<size_t>(length));
  return true;
}

}  // namespace qv
