#pragma once
// The installation's reactions to the extraction engine's events. Windows only: the event's
// owner is the progress page, whose controls it drives.
#ifdef _WIN32
#include <cstdint>

#include "archive/extract_event.h"

namespace qv {

class CProgressPage;
struct WizardContext;

// What one installation run works on; the extraction events' owner.
struct InstallRun {
  CProgressPage& page;
  WizardContext& context;
};

// event->owner is the InstallRun. Records every file before it is written, decides which entries are written, skipped or
// kept, notes the main program and the uninstaller, and reports on the progress page.
std::int32_t OnExtractEvent(const ExtractEvent* event);

}  // namespace qv
#endif
