#pragma once
// How a printer's device ID was looked for, filled alongside the lookup: what the printer
// report of /probe shows a help desk, and the route that answered.
#include <memory>
#include <string>
#include <vector>

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

// One IPP request of a port, and where its URL came from.
enum class IppUrlSource { PortName, ApPort, BesideSnmp };
struct IppRequestRoute {
    std::wstring strUrl;          // empty when the port monitor's answer was refused
    IppUrlSource source = IppUrlSource::PortName;
    bool bDelivered = false;      // answered with a device ID, the formats it takes, or neither
    std::wstring strFailure;      // else why, in English
};

struct DeviceIdRoute {
    std::wstring strPortName;
    PortKind kind = PortKind::Network;
    std::vector<SnmpRequestRoute> arrSnmp;  // network ports: every target asked, in order
    std::vector<IppRequestRoute> arrIpp;    // the same over IPP
    // The first route that gave the device ID, where the printer's state is asked; none for a
    // local or file port and when nothing answered.
    std::shared_ptr<PrinterRoute> answered;
};
