#pragma once
// A way to reach a printer that gives its device ID and its state: a network printer's
// SNMP agent today, another protocol next. The capability check, /probe and a run ask the
// route, never the protocol behind it.
#include <memory>
#include <string>

#include "printer/state/printer_state.h"

class PrinterRoute {
public:
    virtual ~PrinterRoute() = default;

    // 1 with the ID, empty when the printer answered without one; 0 with the ID empty when
    // that could not be found out. Blocks: workers only.
    virtual int ReadDeviceID(std::wstring& strDeviceID) = 0;
    // 1 when the printer answered (its state may still be Unknown), else 0 with the state
    // Unknown; bDetails adds every supply, input tray and alert (/probe). A route kept for
    // following asks the way it found the printer answers.
    virtual int ReadState(PrinterState& state, bool bDetails = false) = 0;
    // The same route, knowing nothing of the printer yet: a run follows the printer through
    // a route of its own, on its own thread.
    virtual std::unique_ptr<PrinterRoute> Copy() const = 0;
};
