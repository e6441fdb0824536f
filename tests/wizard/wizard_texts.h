#pragma once
// A small text table for the wizard's tests: the English texts the wizard shows, and a few
// French and Italian ones to see a change of language.
#include "app/text_table.h"

namespace qv::test {

MapTextTable WizardTexts();

}  // namespace qv::test
