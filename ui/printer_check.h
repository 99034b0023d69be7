#pragma once
// The capability check of the current printer (defined with the printer code):
// the supported-type mask from the printer's device ID; 0 not supported, -1 busy
// or off. The Basic page stores it as nSupportedTypes.
#include <optional>
#include <string>
#include <vector>

#include "printer/state/printer_state.h"
#include "files/admit_files.h"
#include "printer/queue/prt_control.h"
#include "printer/state/printer_route.h"
#include "printer/ipp/ipp_safety.h"

int CheckSupportedTypes(CPrtControl& prtControl);

// What the page's check worker posts back.
struct PrinterCheckReport {
    int nSupportedTypes = -1;
    // After a change of printer: the listed files its types no longer admit.
    std::vector<RefusedFile> arrRefusedListed;
    // The route that answered the device-ID request, and the state read through it.
    std::shared_ptr<const PrinterRoute> stateTarget;
    // Busy or off, though something answered there, not as a printer (another protocol).
    bool bNotSnmp = false;
    // A port asked over IPP alone that did not answer: why, in the words /probe uses.
    std::wstring strIppReason;
    // A printer heard over IPP that could not be reached safely: why, and the name its pin
    // goes by ("ipps://host:port"), for the question before a new certificate is trusted.
    IppSafetyFacts safety;
    std::string pinName;
    // TLS: the certificate of the printer that answered, as judged.
    std::optional<ipp::Certificate> certificate;
    PrinterState state;
};

// The same check for the printer of that name, with a printer list of its own, so it
// may run on any thread, and one read of its state. A printer that is no longer
// installed counts as busy or off.
PrinterCheckReport CheckPrinterByName(const std::wstring& strPrinter);
