#pragma once
// The printer-state benchmarks' anchor, net-snmp, kept apart from our layer: its headers
// define many macros of their own.
#include <set>
#include <string>
#include <vector>

struct AnchorRun {
    double dSeconds = 0;
    int nFailed = 0;       // requests that did not succeed
    size_t nBindings = 0;  // bindings the walks brought back (checked against ours)
};

// `count` times two GETs (hrPrinterStatus.1 and prtMarkerLifeCount.1.1), as SNMPv2c, on
// one session.
AnchorRun RunNetSnmpTwoGets(const std::string& strAgent, int nCount);
// `count` times what snmpbulkwalk does for each subtree: GETBULK of 10 repetitions from
// the subtree's root until an answer leaves it. A walk that does not bring back its
// subtree's number of rows (distinct indices) counts as failed.
struct AnchorSubtree {
    const char* pszEntry;
    size_t nRows;
};
AnchorRun RunNetSnmpBulkWalks(const std::string& strAgent, const std::vector<AnchorSubtree>& arrSubtrees, int nCount);
