#include "install/shell_item.h"

#include <windows.h>
#include <shlobj.h>

#include "system/utf16.h"

namespace qv {
namespace {

template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (ptr_) ptr_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** Out() { return &ptr_; }
  T* operator->() const { return ptr_; }
  T* Get() const { return ptr_; }

 private:
  T* ptr_ = nullptr;
};

// An item id list obtained through the shell's allocator, freed with it.
class ItemIdList {
 public:
  explicit ItemIdList(IMalloc* allocator) : allocator_(allocator) {}
  ~ItemIdList() {
    if (list_) allocator_->Free(list_);
  }
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  PIDLIST_RELATIVE* Out() { return &list_; }
  PCUIDLIST_RELATIVE Get() const { return list_; }

 private:
  IMalloc* allocator_;
  PIDLIST_RELATIVE list_ = nullptr;
};

bool ParsePath(IShellFolder* desktop, const std::u16string& path, ItemIdList& list) {
  // The parse takes a writable text.
  std::u16string text = path;
  return SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, reinterpret_cast<LPWSTR>(&text[0]),
                                             nullptr, list.Out(), nullptr)) &&
         list.Get() != nullptr;
}

}  // namespace

bool IsSameShellItem(const std::u16string& a, const std::u16string& b) {
  if (lstrcmpW(AsWide(a), AsWide(b)) == 0) return true;
  ComRef<IMalloc> allocator;
  if (FAILED(SHGetMalloc(allocator.Out()))) return false;
  ComRef<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.Out()))) return false;
  ItemIdList listA(allocator.Get());
  ItemIdList listB(allocator.Get());
  if (!ParsePath(desktop.Get(), a, listA) || !ParsePath(desktop.Get(), b, listB)) return false;
  const HRESULT order = desktop->CompareIDs(0, listA.Get(), listB.Get());
  return SUCCEEDED(order) && HRESULT_CODE(order) == 0;
}

}  // namespace qv
