#pragma once
// The device ID of a network printer: one SNMP GET of the private device-ID object,
// repeated once when it fails.
#include <string>

inline constexpr char kDeviceIdOid[] = "1.3.6.1.4.1.48751.11.5.1.1.1.26.0";

// Returns 1 and the ID as wide text when the agent gave an octet string, else 0 with
// `strDeviceID` empty. Blocks for up to two one-second time-outs.
int QueryNetworkDeviceID(const std::wstring& strAddress, const std::wstring& strCommunity,
                         std::wstring& strDeviceID);
