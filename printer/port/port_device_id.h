#pragma once
// The device ID of the printer on a port: the route by port kind, and for network ports
// the address from the print monitors' registry keys or the WSD port monitor.
// Windows build only.
#include <atomic>
#include <string>
#include <vector>

#include "printer/port/device_id_route.h"

// 1 with the ID when one was obtained, else 0. bUnsupportedPort tells whether no
// network address lookup could even be attempted. pRoute, when given, receives the
// route taken. Safe on any thread.
int DeviceIDForPort(const std::wstring& strPortName, std::wstring& strDeviceID, bool& bUnsupportedPort,
                    DeviceIdRoute* pRoute = nullptr);
// Set by the device-ID lookup when no network address lookup could even be attempted
// for the port it looked up last. Checks of several printers may run at once, each on a
// worker of its own: each check decides on its own lookup's answer, never on this value,
// which only tells the last answer to whoever asks afterwards.
extern std::atomic<bool> g_bUnsupportedPort;

// The same, leaving bUnsupportedPort's answer in g_bUnsupportedPort.
int DeviceIDForPort(const std::wstring& strPortName, std::wstring& strDeviceID, DeviceIdRoute* pRoute = nullptr);

// The SNMP targets of a network port (address and community, the WSD device's host), found
// as DeviceIDForPort finds them, in its order, but without asking them anything; empty for
// a local or file port.
std::vector<SnmpRequestRoute> SnmpTargetsOfPort(const std::wstring& strPortName);

// The supported-type mask of the printer on a port (see supported_types.h); pRoute, when
// given, receives the route taken.
int SupportedTypesOfPort(const std::wstring& strPortName, DeviceIdRoute* pRoute = nullptr);
