#include "printer/printer_probe.h"

#include <memory>

#include "common/ascii_case.h"
#include "printer/port/port_device_id.h"
#include "printer/state/supported_types.h"

PrinterProbe ProbeCurrentPrinter(CPrtControl& prtControl)
{
    return ProbePrinterOnPort(prtControl.GetPrinterPortName(prtControl.GetCurrentIndex()));
}

PrinterProbe ProbePrinterOnPort(const std::wstring& strPortName)
{
    PrinterProbe probe;
    bool bUnsupportedPort = false;
    const int nResult = DeviceIDForPort(strPortName, probe.strDeviceID, bUnsupportedPort, &probe.route);
    probe.bObtained = nResult == 1;
    probe.nSupportedTypes = SupportedTypesOfLookup(nResult, bUnsupportedPort, probe.strDeviceID);
    if (probe.route.answered)
        probe.route.answered->ReadState(probe.state, true);
    return probe;
}

PrinterProbe ProbePrinterAtUrl(const std::wstring& strUrl)
{
    PrinterProbe probe;
    auto route = std::make_shared<IppPrinterRoute>(strUrl);
    const int nResult = route->ReadDeviceID(probe.strDeviceID);
    probe.arrIpp.push_back(route->Request());
    probe.bObtained = nResult == 1;
    probe.nSupportedTypes = SupportedTypesOfLookup(nResult, false, probe.strDeviceID);
    if (probe.bObtained) {
        probe.route.answered = route;
        route->ReadState(probe.state, true);
    }
    return probe;
}
