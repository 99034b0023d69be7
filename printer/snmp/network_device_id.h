#pragma once
// The device ID of a network printer over SNMP. The private device-ID object is asked
// first, and asked once more when nothing answered. An agent that answers without it
// is asked once for the standard printer-port-monitor device ID of its first printer.
// So one call sends at most two requests.
#include <string>

inline constexpr char kDeviceIdOid[] = "1.3.6.1.4.1.48751.11.5.1.1.1.26.0";
inline constexpr char kStandardDeviceIdOid[] = "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";

// Returns 1 and the ID as wide text when one of the objects held an octet string.
// Returns 1 with `strDeviceID` empty when the agent answered for both objects without
// one (the printer is on but has no device ID to give). Returns 0 with `strDeviceID`
// empty when that could not be found out: nothing answered, or a request went
// unanswered before both objects were asked. Blocks for up to two one-second time-outs.
// pNotSnmp: set when datagrams came back that were no SNMP answer (another protocol).
int QueryNetworkDeviceID(const std::wstring& strAddress, const std::wstring& strCommunity,
                         std::wstring& strDeviceID, bool* pNotSnmp = nullptr);
