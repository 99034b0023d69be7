// The state read for a port or a printer name: the port's SNMP targets come from the
// device-ID lookup's own address search.
#include "printer/port/printer_state_route.h"

#include "printer/port/port_device_id.h"
#include "printer/queue/prt_control.h"
#include "printer/snmp/snmp_printer_route.h"

int ReadPrinterStateOfPort(const std::wstring& strPortName, PrinterState& state)
{
    state = PrinterState();
    for (const SnmpRequestRoute& target : SnmpTargetsOfPort(strPortName))
        if (!target.strAddress.empty())
            return SnmpPrinterRoute(target.strAddress, target.strCommunity).ReadState(state);
    return 0;
}

int ReadPrinterStateOfPrinter(const CPrtControl& prtControl, const std::wstring& strPrinterName, PrinterState& state)
{
    state = PrinterState();
    for (int i = 0; i < prtControl.GetPrinterCount(); ++i) {
        const PRINTER_INFO_2W* pInfo = prtControl.GetPrinterInfo(i);
        if (pInfo && pInfo->pPrinterName && _wcsicmp(pInfo->pPrinterName, strPrinterName.c_str()) == 0)
            return ReadPrinterStateOfPort(prtControl.GetPrinterPortName(i), state);
    }
    return 0;
}
