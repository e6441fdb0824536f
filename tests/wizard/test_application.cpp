#include "framework/application.h"

// The tests' application object: its name is the caption of the wizard's message boxes.
qv::CWinApp testApplication(L"Installer -- Vantrel 4.05b");
