#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include "app/text_ids.h"
#include "archive/archive_format.h"
#include "install/extract_decision.h"
#include "install/extract_events.h"
#include "resources/ui_ids.h"
#include "system/file_io.h"
#include "system/security.h"
#include "system/utf16.h"
#include "wizard/progress_page.h"

namespace qv {
namespace {

std::u16string QuotedPath(const std::u16string& path) {
  wchar_t buffer[MAX_PATH] = {};
  lstrcpynW(buffer, AsWide(path), MAX_PATH);
  PathQuoteSpacesW(buffer);
  return FromWide(buffer);
}

void GrantUsers(const char16_t* path) { GrantFileAccess(AsWide(path), kUsersFileAccessMask); }

}  // namespace

std::int32_t OnExtractEvent(const ExtractEvent* event) {
  auto* run = static_cast<InstallRun*>(event->owner);
  CProgressPage* page = &run->page;
  const WizardContext& context = run->context;
  if ((event->code & 0x80000000u) == 0) {
    ::SendMessageW(page->progressBar, PBM_SETPOS, ProgressPosition(event->doneBytes, event->totalBytes), 0);
    return EXTRACT_CONTINUE;
  }
  SetupState& state = run->context.state;
  UninstallLog& log = state.uninstallLog;
  const std::u16string ok = context.Text(TEXT_OK) + u"\r\n";
  const std::u16string failed = context.Text(TEXT_FAILED) + u"\r\n";
  std::u16string status;
  std::u16string outcome;
  std::int32_t reply = EXTRACT_CONTINUE;

  switch (event->code) {
    case EXTRACT_BEGIN:
      status = context.Text(TEXT_PREPARING);
      break;
    case EXTRACT_ARCHIVE_OK:
    case EXTRACT_DONE:
      outcome = ok;
      break;
    case EXTRACT_VERIFYING:
      status = context.Text(TEXT_DATA_CONTROL);
      break;
    case EXTRACT_ENTRY_END:
      if (event->entryKind == ENTRY_KIND_KEEP_EXISTING) GrantUsers(event->entryPath);
      if (!log.entries.empty()) log.entries.back().done = true;
      outcome = ok;
      break;
    case EXTRACT_FAILED:
      if (!log.entries.empty()) log.entries.back().done = false;
      outcome = failed;
      reply = 1;
      break;
    case EXTRACT_ENTRY_BEGIN: {
      const std::u16string path = event->entryPath;
      const bool keep = event->entryKind == ENTRY_KIND_KEEP_EXISTING;
      const EntryAction action =
          DecideEntry(event->entryKind, state.previousInstallState, keep && log.WasInstalledBefore(path),
                      keep && FileExists(path));
      if (action == EntryAction::Skip) return EXTRACT_SKIP;
      if (action == EntryAction::KeepInstalled) {
        GrantUsers(event->entryPath);
        return EXTRACT_SKIP;
      }
      if (action == EntryAction::KeepExisting) {
        log.RecordFile(path, static_cast<std::int32_t>(event->entryKind), true);
        log.entries.back().done = true;
        GrantUsers(event->entryPath);
        return EXTRACT_SKIP;
      }
      if (event->entryKind == ENTRY_KIND_PROGRAM) page->mainProgramPath = path;
      if (event->entryKind == ENTRY_KIND_UNINSTALLER) page->uninstallerPath = path;
      status = context.Format(TEXT_COPYING_FILE, {QuotedPath(path)});
      log.RecordFile(path, static_cast<std::int32_t>(event->entryKind), keep);
      break;
    }
    default:
      break;
  }

  if (!status.empty()) {
    if (event->code == EXTRACT_ENTRY_BEGIN) {
      PathSetDlgItemPathW(page->GetSafeHwnd(), IDC_PAGE_STATUS, AsWide(status));
    } else {
      ::SetDlgItemTextW(page->GetSafeHwnd(), IDC_PAGE_STATUS, AsWide(status));
    }
    page->AppendProgressLog(status, false);
  }
  if (!outcome.empty()) page->AppendProgressLog(outcome, false);
  return reply;
}

}  // namespace qv
