#include "ui/printer_check.h"

#include "common/debug_log.h"
#include "printer/check_supported_types.h"
#include "printer/printer_state_route.h"

PrinterCheckReport CheckPrinterByName(const std::wstring& strPrinter)
{
    PrinterCheckReport report;
    CPrtControl prtControl;
    if (!prtControl.SelectPrinter(strPrinter)) {
        DebugLog(L"CheckPrinterByName / not installed : %s", strPrinter.c_str());
        return report;
    }
    DeviceIdRoute route;
    report.nSupportedTypes = CheckSupportedTypes(prtControl, route);
    for (const SnmpRequestRoute& request : route.arrSnmp)
        report.bNotSnmp |= report.nSupportedTypes == -1 && request.bNotSnmp;
    // Its state only where it can print: before a run, and for the status line.
    const SnmpRequestRoute* pTarget = AnsweringTarget(route);
    if (report.nSupportedTypes > 0 && pTarget && ReadPrinterStateOfRoute(route, report.state, true))
        report.stateTarget = *pTarget;
    return report;
}

int ReadPrinterStateOfTarget(const SnmpRequestRoute& target, PrinterState& state)
{
    DeviceIdRoute route;
    route.kind = PortKind::Network;
    route.arrSnmp = {target};
    route.arrSnmp.front().bDelivered = true;
    return ReadPrinterStateOfRoute(route, state, true);
}
