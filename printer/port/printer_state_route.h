#pragma once
// The printer's state of a port or an installed printer without a device-ID request: the
// port's SNMP targets found as the device-ID lookup finds them, the first with an address
// asked with at most two requests. Windows build only.
#include <string>

#include "printer/state/printer_state.h"

class CPrtControl;

// Returns 1 when the agent answered; 0, with the state Unknown, for a local or file port and
// when no target has an address or none answered.
int ReadPrinterStateOfPort(const std::wstring& strPortName, PrinterState& state);
// The same for an installed printer by its name (any letter case); 0 when there is none.
int ReadPrinterStateOfPrinter(const CPrtControl& prtControl, const std::wstring& strPrinterName, PrinterState& state);
