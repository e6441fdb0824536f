#include "app/setup_app.h"

namespace qv {

CSetupApp theApp;

}  // namespace qv
