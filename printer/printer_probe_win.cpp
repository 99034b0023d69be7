#include "printer/printer_probe.h"

#include "printer/port_device_id.h"
#include "printer/supported_types.h"
#include "printer/unsupported_port.h"

PrinterProbe ProbeCurrentPrinter(CPrtControl& prtControl)
{
    PrinterProbe probe;
    const int nResult = DeviceIDForPort(prtControl.GetPrinterPortName(prtControl.GetCurrentIndex()),
                                        probe.strDeviceID, &probe.route);
    probe.bObtained = nResult == 1;
    probe.nSupportedTypes = SupportedTypesOfLookup(nResult, g_bUnsupportedPort, probe.strDeviceID);
    return probe;
}
