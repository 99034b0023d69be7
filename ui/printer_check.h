#pragma once
// The capability check of the current printer (defined with the printer code):
// the supported-type mask from the printer's device ID; 0 not supported, -1 busy
// or off. The Basic page stores it as nSupportedTypes.
#include "printer/prt_control.h"

int CheckSupportedTypes(CPrtControl& prtControl);
