#include "snmp/target.h"

int Target::setAgentAddress(const char* pszAddress)
{
    // An unusable address is kept as invalid, so a later get reports it instead of
    // quietly asking the previous agent.
    m_address = NetworkAddress(pszAddress ? pszAddress : "");
    return m_address.isValid() ? 1 : 0;
}

int Target::setReadCommunity(const char* pszCommunity)
{
    m_strCommunity = pszCommunity ? pszCommunity : "";
    return 1;
}

int Target::setTimeout(int nSeconds)
{
    if (nSeconds < 1 || nSeconds > 60)
        return 0;
    m_nTimeout = nSeconds;
    return 1;
}

int Target::setRetryCount(int nRetries)
{
    if (nRetries < 0 || nRetries > 10)
        return 0;
    m_nRetries = nRetries;
    return 1;
}

int Target::setVersion(SNMPVersion version)
{
    m_version = version;
    return 1;
}
