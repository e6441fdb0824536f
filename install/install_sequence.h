#pragma once
// The installation: payload, extraction, shortcuts, product key, registration run, log.
// Windows only.
#ifdef _WIN32
namespace qv {

class CProgressPage;
class NamedMutexGuard;
struct WizardContext;

// True when the extraction went through (later steps report their own "Failed" lines);
// false when the payload could not be copied or the extraction failed, in which case every
// recorded change is rolled back. guard is released only around the registration run.
bool RunInstallSequence(CProgressPage& page, WizardContext& context, NamedMutexGuard& guard);

}  // namespace qv
#endif
