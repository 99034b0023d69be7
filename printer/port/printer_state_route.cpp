#include "printer/port/printer_state_route.h"

#include "common/debug_log.h"
#include "printer/snmp/printer_state_read.h"

const SnmpRequestRoute* AnsweringTarget(const DeviceIdRoute& route)
{
    if (route.kind != PortKind::Network)
        return nullptr;
    for (const SnmpRequestRoute& target : route.arrSnmp)
        if (target.bDelivered && !target.strAddress.empty())
            return &target;
    return nullptr;
}

int ReadPrinterStateOfRoute(const DeviceIdRoute& route, PrinterState& state, bool bDetails)
{
    state = PrinterState();
    const SnmpRequestRoute* pTarget = AnsweringTarget(route);
    if (!pTarget)
        return 0;
    DebugLog(L"[PrinterState] %s with the community %s", pTarget->strAddress.c_str(), pTarget->strCommunity.c_str());
    PrinterStateReader reader(pTarget->strAddress, pTarget->strCommunity);
    return bDetails ? reader.ReadDetails(state) : reader.Read(state);
}
