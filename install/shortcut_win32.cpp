#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "install/shortcut.h"
#include "install/shortcut_paths.h"
#include "system/utf16.h"

namespace qv {

bool CreateShortcut(const std::u16string* displayName, const std::u16string& target,
                    const std::u16string& folder, std::u16string* linkPath) {
  ShortcutPaths paths;
  if (!BuildShortcutPaths(displayName, target, folder, &paths)) return false;
  const HRESULT init = CoInitialize(nullptr);
  if (init != S_OK && init != S_FALSE) return false;
  bool saved = false;
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    link->SetPath(AsWide(target));
    link->SetWorkingDirectory(AsWide(paths.workingFolder));
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      saved = SUCCEEDED(file->Save(AsWide(paths.linkPath), TRUE));
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  if (saved && linkPath != nullptr) *linkPath = paths.linkPath;
  return saved;
}

}  // namespace qv
