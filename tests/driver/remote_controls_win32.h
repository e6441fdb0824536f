#pragma once
// Reading the controls of another process's windows.
#include <windows.h>

#include <string>
#include <vector>

namespace qv::driver {

std::wstring ControlText(HWND window);

struct ComboItem {
  std::wstring text;
  LPARAM data = 0;
};

// The items of a ComboBoxEx in `window`'s process. Their texts are not readable across
// processes with CB_GETLBTEXT, so CBEM_GETITEMW runs on a buffer inside that process.
bool ReadComboBoxExItems(HWND window, std::vector<ComboItem>& items);

// The last `count` non-empty lines of a multi-line text.
std::vector<std::wstring> LastLines(const std::wstring& text, size_t count);

}  // namespace qv::driver
