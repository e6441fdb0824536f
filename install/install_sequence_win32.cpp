#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>

#include "app/product_texts.h"
#include "app/text_ids.h"
#include "archive/archive_extractor.h"
#include "archive/payload_copy.h"
#include "install/extract_events.h"
#include "install/install_sequence.h"
#include "install/product_key.h"
#include "install/shortcut.h"
#include "resources/ui_ids.h"
#include "system/file_io.h"
#include "system/named_objects.h"
#include "system/utf16.h"
#include "wizard/progress_page.h"
#include "wizard/wizard_context.h"

namespace qv {
namespace {

constexpr wchar_t kMakerAddress[] = L"https://www.quorvik.example";
constexpr wchar_t kMakerTelephone[] = L"+1 555 0100";
constexpr wchar_t kDisplayVersion[] = L"4.5.2.2";
// The installed program's exit code for a registration that went through.
constexpr DWORD kRegistrationSucceeded = static_cast<DWORD>(-10);

class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

class Sequence {
 public:
  Sequence(CProgressPage& page, WizardContext& context, NamedMutexGuard& guard)
      : page_(page), context_(context), state_(context.state), guard_(guard) {}

  bool Run();

 private:
  void Status(const std::u16string& text) { ::SetDlgItemTextW(page_.GetSafeHwnd(), IDC_PAGE_STATUS, AsWide(text)); }
  void StepLine(unsigned textId) {
    Status(context_.Text(textId));
    page_.AppendProgressLog(context_.Text(textId), false);
  }
  void Outcome(bool ok) { page_.AppendProgressLog(context_.Text(ok ? TEXT_OK : TEXT_FAILED) + u"\r\n", false); }
  void ShowFailure(const std::u16string& code) { Status(context_.Format(TEXT_INSTALLATION_FAILED, {code})); }

  void MarkReadOnly(const std::u16string& path);
  bool MakeShortcut(LogEntryKind kind, const std::u16string& name, const std::u16string& target,
                    const std::u16string& folder);
  bool CreateShortcuts();
  bool WriteProductKey();
  bool RunRegistration();
  bool WriteUninstallLog();

  CProgressPage& page_;
  WizardContext& context_;
  SetupState& state_;
  NamedMutexGuard& guard_;
};

void Sequence::MarkReadOnly(const std::u16string& path) {
  if (path.empty()) return;
  const std::uint32_t attributes = GetFileAttributesOf(path);
  if (attributes != kInvalidFileAttributes) SetFileAttributesOf(path, attributes | kFileAttributeReadOnly);
}

bool Sequence::MakeShortcut(LogEntryKind kind, const std::u16string& name, const std::u16string& target,
                            const std::u16string& folder) {
  state_.uninstallLog.RecordShortcut(kind, folder);
  const std::size_t index = state_.uninstallLog.entries.size() - 1;
  std::u16string linkPath;
  if (!CreateShortcut(&name, target, folder, &linkPath)) return false;
  state_.uninstallLog.entries[index].done = true;
  state_.uninstallLog.entries[index].path = linkPath;
  return true;
}

bool Sequence::CreateShortcuts() {
  bool ok = true;
  const std::u16string productName = GetProductName(true);
  if (state_.createMenuShortcuts) {
    ok &= MakeShortcut(LOG_MENU_SHORTCUT, productName, page_.mainProgramPath, state_.menuFolder);
    const std::u16string uninstallName = context_.Format(TEXT_UNINSTALL_NAME, {GetProductName(false)});
    ok &= MakeShortcut(LOG_UNINSTALL_SHORTCUT, uninstallName, page_.uninstallerPath, state_.menuFolder);
  }
  if (state_.createDesktopShortcut) {
    wchar_t desktop[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE) ||
        SHGetSpecialFolderPathW(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE)) {
      ok &= MakeShortcut(LOG_DESKTOP_SHORTCUT, productName, page_.mainProgramPath, FromWide(desktop));
    } else {
      ok = false;
    }
  }
  return ok;
}

bool SetString(HKEY key, const wchar_t* name, const std::u16string& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(AsWide(value)),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetNumber(HKEY key, const wchar_t* name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
         ERROR_SUCCESS;
}

bool Sequence::WriteProductKey() {
  HKEY uninstall = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, AsWide(kUninstallKeyPath), 0, KEY_ALL_ACCESS, &uninstall) != ERROR_SUCCESS) {
    return false;
  }
  HKEY product = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExW(uninstall, AsWide(kProductKeyName), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &product, &disposition) != ERROR_SUCCESS) {
    RegCloseKey(uninstall);
    return false;
  }
  UninstallLog& log = state_.uninstallLog;
  log.RecordUninstallKey(disposition == REG_OPENED_EXISTING_KEY ? product : nullptr);
  const std::size_t index = log.entries.size() - 1;
  bool ok = SetString(product, L"DisplayName", GetProductName(true));
  ok &= SetString(product, L"UninstallString", page_.uninstallerPath);
  SetString(product, L"DisplayIcon", page_.mainProgramPath + u",0");
  SetString(product, L"DisplayVersion", FromWide(kDisplayVersion));
  SetString(product, L"Publisher", GetMakerFolderName());
  SetString(product, L"URLInfoAbout", FromWide(kMakerAddress));
  SetString(product, L"HelpLink", FromWide(kMakerAddress));
  SetString(product, L"URLUpdateInfo", FromWide(kMakerAddress));
  SetString(product, L"HelpTelephone", FromWide(kMakerTelephone));
  SetNumber(product, L"NoModify", 1);
  SetNumber(product, L"NoRepair", 1);
  SetNumber(product, L"QvLanguage", static_cast<DWORD>(state_.languageIndex));
  // The record the next run's detection reads; it goes with the key.
  SetString(product, AsWide(kInstalledProgramValue), page_.mainProgramPath);
  RegCloseKey(product);
  log.entries[index].done = ok;
  RegCloseKey(uninstall);
  return ok;
}

bool Sequence::RunRegistration() {
  UninstallLog& log = state_.uninstallLog;
  log.RecordRegistration();
  const std::size_t index = log.entries.size() - 1;
  // Without a main program there is nothing to start; a bare command would run something else.
  if (page_.mainProgramPath.empty()) return false;

  wchar_t command[MAX_PATH + 32] = {};
  lstrcpynW(command, AsWide(page_.mainProgramPath), MAX_PATH);
  PathQuoteSpacesW(command);
  wcscat(command, L" /Register /Background");
  wchar_t folder[MAX_PATH] = {};
  lstrcpynW(folder, AsWide(page_.mainProgramPath), MAX_PATH);
  PathRemoveFileSpecW(folder);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNOACTIVATE;
  PROCESS_INFORMATION process = {};
  // The installed program must not find the setup holding the guard.
  guard_.Release();
  if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, HIGH_PRIORITY_CLASS, nullptr,
                      folder[0] != 0 ? folder : nullptr, &startup, &process)) {
    guard_.TryAcquire();
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  const bool read = GetExitCodeProcess(process.hProcess, &exitCode) != FALSE;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  guard_.TryAcquire();
  if (!read || exitCode != kRegistrationSucceeded) return false;
  log.entries[index].done = true;
  WaitCursor wait;
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
  return true;
}

bool Sequence::WriteUninstallLog() {
  wchar_t path[MAX_PATH] = {};
  if (page_.uninstallerPath.size() >= MAX_PATH) return false;
  lstrcpynW(path, AsWide(page_.uninstallerPath), MAX_PATH);
  if (!PathRemoveFileSpecW(path) || !PathAppendW(path, L"Uninstall.ulog")) return false;
  return state_.uninstallLog.WriteLog(FromWide(path), state_.installFolder, state_.menuFolder);
}

bool Sequence::Run() {
  WaitCursor wait;
  page_.mainProgramPath.clear();
  page_.uninstallerPath.clear();
  page_.AppendProgressLog(std::u16string(), true);
  Status(context_.Text(TEXT_PREPARING));

  std::u16string errorText;
  if (!CopyPayloadToTempFile(state_.payloadTempFile, errorText)) {
    const std::u16string text = context_.Format(TEXT_INSTALLATION_FAILED, {errorText});
    Status(text);
    page_.AppendProgressLog(text + u"\r\n", false);
    return false;
  }
  ::SendMessageW(page_.progressBar, PBM_SETPOS, 0, 0);
  ::ShowWindow(page_.progressBar, SW_SHOW);

  CArchiveExtractor extractor;
  extractor.Setup(state_.installFolder, context_.Format(TEXT_EXAMPLES_FOLDER, {GetProductName(false)}));
  InstallRun run{page_, context_};
  extractor.SetCallback(OnExtractEvent, &run);
  if (!extractor.Extract(state_.payloadTempFile)) {
    wchar_t code[32];
    swprintf(code, 32, L"%d:%08X", static_cast<int>(extractor.status),
             extractor.status == EXTRACT_ERR_SYSTEM ? static_cast<unsigned>(extractor.systemError) : 0u);
    ShowFailure(FromWide(code));
    SetFileAttributesOf(state_.payloadTempFile, kFileAttributeNormal);
    DeleteFileAt(state_.payloadTempFile);
    state_.uninstallLog.Rollback();
    return false;
  }

  MarkReadOnly(page_.mainProgramPath);
  MarkReadOnly(page_.uninstallerPath);

  if (state_.createMenuShortcuts || state_.createDesktopShortcut) {
    StepLine(TEXT_SHORTCUTS);
    Outcome(CreateShortcuts());
  }

  StepLine(TEXT_REGISTRY);
  bool registry = WriteProductKey();
  registry &= RunRegistration();
  Outcome(registry);

  StepLine(TEXT_LOG_WRITING);
  Outcome(WriteUninstallLog());

  SetFileAttributesOf(state_.payloadTempFile, kFileAttributeNormal);
  DeleteFileAt(state_.payloadTempFile);
  Status(context_.Format(TEXT_CLICK_TO_CONTINUE, {context_.Text(TEXT_NEXT)}));
  return true;
}

}  // namespace

bool RunInstallSequence(CProgressPage& page, WizardContext& context, NamedMutexGuard& guard) {
  return Sequence(page, context, guard).Run();
}

}  // namespace qv
