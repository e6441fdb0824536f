#include "remote_controls_win32.h"

#include <commctrl.h>

namespace qv::driver {

namespace {

constexpr int kItemTextChars = 256;

class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size) : process(process) {
    address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address != nullptr) VirtualFreeEx(process, address, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* Address() const { return address; }

 private:
  HANDLE process;
  void* address = nullptr;
};

class ProcessHandle {
 public:
  explicit ProcessHandle(DWORD id)
      : handle(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id)) {}
  ~ProcessHandle() {
    if (handle != nullptr) CloseHandle(handle);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE Get() const { return handle; }

 private:
  HANDLE handle;
};

}  // namespace

std::wstring ControlText(HWND window) {
  if (window == nullptr) return std::wstring();
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return std::wstring();
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                           5000, &copied)) {
    return std::wstring();
  }
  text.resize(copied < length ? copied : length);
  return text;
}

bool ReadComboBoxExItems(HWND window, std::vector<ComboItem>& items) {
  items.clear();
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  ProcessHandle process(processId);
  if (process.Get() == nullptr) return false;
  const size_t textOffset = sizeof(COMBOBOXEXITEMW);
  RemoteBuffer remote(process.Get(), textOffset + kItemTextChars * sizeof(wchar_t));
  if (remote.Address() == nullptr) return false;
  auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.Address()) + textOffset);

  const LRESULT count = SendMessageW(window, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT | CBEIF_LPARAM;
    item.iItem = i;
    item.pszText = remoteText;
    item.cchTextMax = kItemTextChars;
    SIZE_T done = 0;
    if (!WriteProcessMemory(process.Get(), remote.Address(), &item, sizeof(item), &done)) return false;
    if (!SendMessageW(window, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Address()))) return false;
    wchar_t text[kItemTextChars] = {};
    if (!ReadProcessMemory(process.Get(), remote.Address(), &item, sizeof(item), &done) ||
        !ReadProcessMemory(process.Get(), remoteText, text, sizeof(text), &done)) {
      return false;
    }
    text[kItemTextChars - 1] = L'\0';
    items.push_back(ComboItem{text, item.lParam});
  }
  return true;
}

std::vector<std::wstring> LastLines(const std::wstring& text, size_t count) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    while (!line.empty() && line.back() == L'\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  if (lines.size() > count) lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(count));
  return lines;
}

}  // namespace qv::driver
