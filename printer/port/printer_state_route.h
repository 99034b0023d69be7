#pragma once
// The printer's state read over the same SNMP route as its device ID: the address and
// community of its port, or a WSD printer's host, asked with at most two requests.
#include <string>

#include "printer/port/device_id_route.h"
#include "printer/state/printer_state.h"

class CPrtControl;

// The network target that answered the check's device-ID request; nullptr for a local or
// file port and when none answered. Keep a PrinterStateReader on it to follow the printer.
const SnmpRequestRoute* AnsweringTarget(const DeviceIdRoute& route);

// From the target that answered the device-ID request of a check (DeviceIDForPort with a
// route); bDetails adds the walks of alerts, supplies and trays (/probe). Returns 1 when
// the agent answered; 0, with the state Unknown, for a local or file port and when no
// target answered the check (a silent printer is not asked again).
int ReadPrinterStateOfRoute(const DeviceIdRoute& route, PrinterState& state, bool bDetails = false);

// Windows build: the SNMP targets of the port found as the device-ID lookup finds them
// (SnmpTargetsOfPort), without a device-ID request; the first target with an address is
// asked. Returns as above.
int ReadPrinterStateOfPort(const std::wstring& strPortName, PrinterState& state);
// The same for an installed printer by its name (any letter case); 0 when there is none.
int ReadPrinterStateOfPrinter(const CPrtControl& prtControl, const std::wstring& strPrinterName, PrinterState& state);
