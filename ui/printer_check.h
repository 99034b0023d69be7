#pragma once
// The capability check of the current printer (defined with the printer code):
// the supported-type mask from the printer's device ID; 0 not supported, -1 busy
// or off. The Basic page stores it as nSupportedTypes.
#include <optional>
#include <string>
#include <vector>

#include "printer/device_id_route.h"
#include "printer/printer_state.h"
#include "files/admit_files.h"
#include "printer/prt_control.h"

int CheckSupportedTypes(CPrtControl& prtControl);

// What the page's check worker posts back.
struct PrinterCheckReport {
    int nSupportedTypes = -1;
    // After a change of printer: the listed files its types no longer admit.
    std::vector<RefusedFile> arrRefusedListed;
    // The target that answered the device-ID request, and the state read from it.
    std::optional<SnmpRequestRoute> stateTarget;
    // Busy or off, though something answered there, not as a printer (another protocol).
    bool bNotSnmp = false;
    PrinterState state;
};

// The same check for the printer of that name, with a printer list of its own, so it
// may run on any thread, and one read of its state. A printer that is no longer
// installed counts as busy or off.
PrinterCheckReport CheckPrinterByName(const std::wstring& strPrinter);
// The state with its supplies, asked again of the target a check found; 1 when it answered.
int ReadPrinterStateOfTarget(const SnmpRequestRoute& target, PrinterState& state);
