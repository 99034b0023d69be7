#pragma once
// One run of sequential GETs of one object: how long it took and what came back.
#include <string>

struct GetRun {
    int nSucceeded = 0;
    double dSeconds = 0;
    std::string strLastValue;
};

// Our layer, used the way the device-ID query uses it: a new request through
// SNMPManager::get for every GET.
GetRun RunOurGets(const std::string& strAgent, const std::string& strCommunity, const std::string& strOid, int nCount);
// net-snmp's synchronous API on one open session.
GetRun RunNetSnmpGets(const std::string& strAgent, const std::string& strCommunity, const std::string& strOid,
                      int nCount);
