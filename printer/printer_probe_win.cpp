#include "printer/printer_probe.h"

#include "printer/port_device_id.h"
#include "printer/printer_state_route.h"
#include "printer/supported_types.h"

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
    ReadPrinterStateOfRoute(probe.route, probe.state, true);
    return probe;
}
