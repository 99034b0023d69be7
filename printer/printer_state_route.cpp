#include "printer/printer_state_route.h"

#include "common/debug_log.h"
#include "printer/printer_state_read.h"

int ReadPrinterStateOfRoute(const DeviceIdRoute& route, PrinterState& state, bool bDetails)
{
    state = PrinterState();
    if (route.kind != PortKind::Network)
        return 0;
    for (const SnmpRequestRoute& target : route.arrSnmp) {
        if (!target.bDelivered || target.strAddress.empty())
            continue;
        DebugLog(L"[PrinterState] %s with the community %s", target.strAddress.c_str(), target.strCommunity.c_str());
        PrinterStateReader reader(target.strAddress, target.strCommunity);
        return bDetails ? reader.ReadDetails(state) : reader.Read(state);
    }
    return 0;
}
