#pragma once
// How a printer's device ID was looked for, filled alongside the lookup: what the printer
// report of /probe shows a help desk, and the route that answered.
#include <memory>
#include <string>
#include <vector>

#include "printer/ipp/ipp_printer_route.h"
#include "printer/state/port_kind.h"
#include "printer/state/printer_route.h"

// One SNMP request target of a network port.
struct SnmpRequestRoute {
    std::wstring strAddress;      // empty when no address was found (a WSD port not resolved)
    std::wstring strCommunity;
    bool bWsd = false;            // the address came from the WSD port monitor
    std::wstring strWsdLocation;  // the WSD device's location URL, when one was read
    bool bDelivered = false;      // the agent answered: with a device ID or without one
    bool bNotSnmp = false;        // something answered, but not as an SNMP agent
};

struct DeviceIdRoute {
    std::wstring strPortName;
    PortKind kind = PortKind::Network;
    std::vector<SnmpRequestRoute> arrSnmp;  // network ports: every target asked, in order
    // The same over IPP: a port named by its URL, an adaptive monitor's port (its URL empty
    // when the monitor's answer was refused), the address of a Standard TCP/IP port.
    std::vector<IppRequestRoute> arrIpp;
    // The first route that gave the device ID, where the printer's state is asked; none for a
    // local or file port and when nothing answered.
    std::shared_ptr<PrinterRoute> answered;
};
