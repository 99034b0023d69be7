#pragma once
// The capability check of the current printer with what lies behind it: the route its
// device ID took, the ID itself, the verdict, and the printer's own state with its
// supplies and trays. Windows build only.
#include <string>

#include <vector>

#include "printer/ipp/ipp_printer_route.h"
#include "printer/port/device_id_route.h"
#include "printer/port/printer_url_port.h"  // IsPrinterUrl
#include "printer/state/printer_state.h"
#include "printer/queue/prt_control.h"

struct PrinterProbe {
    DeviceIdRoute route;
    bool bObtained = false;  // a device ID was obtained (it may be empty)
    std::wstring strDeviceID;
    int nSupportedTypes = 0;  // as CheckSupportedTypes gives it
    PrinterState state;       // asked through the route that gave the device ID; Unknown without one
    std::vector<IppRequestRoute> arrIpp;  // a printer reached by its URL: the request for its device ID
};

PrinterProbe ProbeCurrentPrinter(CPrtControl& prtControl);
// The same for the printer on a port; safe on any thread, one port per thread.
PrinterProbe ProbePrinterOnPort(const std::wstring& strPortName);
// The same for a printer reached by its URL alone (ipp://, ipps://, http://, https://),
// installed nowhere: its route has no port.
PrinterProbe ProbePrinterAtUrl(const std::wstring& strUrl);
