#pragma once
// Where and how a request goes: agent address, read community, SNMP version,
// time-out per request in seconds and the number of repeats after a silent request.
#include <string>

#include "snmp/network_address.h"

enum class SNMPVersion { V1 = 0, V2c = 1 };

class Target {
public:
    Target() = default;

    // Each setter returns 1 when the value was taken, 0 when it was refused.
    int setAgentAddress(const char* pszAddress);
    int setReadCommunity(const char* pszCommunity);
    int setTimeout(int nSeconds);     // 1 to 60
    int setRetryCount(int nRetries);  // 0 to 10
    int setVersion(SNMPVersion version);

    const NetworkAddress& getAgentAddress() const { return m_address; }
    const std::string& getReadCommunity() const { return m_strCommunity; }
    int getTimeout() const { return m_nTimeout; }
    int getRetryCount() const { return m_nRetries; }
    SNMPVersion getVersion() const { return m_version; }

private:
    NetworkAddress m_address;
    std::string m_strCommunity = "public";
    int m_nTimeout = 1;
    int m_nRetries = 0;
    SNMPVersion m_version = SNMPVersion::V1;
};
