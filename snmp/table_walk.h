#pragma once
// Walks of table columns, side by side: GETBULK for an SNMPv2c target, GETNEXT for an
// SNMPv1 one. Bounded whatever the agent sends: at most kMaxWalkRows rows and twice as
// many requests; a column ends at the end of its subtree, at the end of the agent's
// objects, or at an object that does not follow the one before it; every request keeps
// the target's time-out and repeats.
#include <cstdint>
#include <functional>
#include <vector>

#include "snmp/oid.h"
#include "snmp/snmp_manager.h"
#include "snmp/snmp_values.h"

constexpr int kMaxWalkRows = 64;

struct TableRow {
    std::vector<uint32_t> index;       // the arcs after the column's identifier
    std::vector<SNMPDataType> values;  // one per column; NULL where the row has none
};

struct WalkResult {
    int nStatus = SNMP_SUCCESS;  // the last request's status: negative when the agent fell silent
    int nRequests = 0;
    bool bTruncated = false;   // rows beyond kMaxWalkRows were left, or the requests ran out
    bool bOutOfOrder = false;  // a column ended at an object that did not increase
    bool bUsedV1 = false;      // the agent did not take GETBULK: walked with SNMPv1 GETNEXT
};

// Rows come sorted by index. An SNMPv2c agent that leaves the first GETBULK unanswered or
// refuses it is asked with SNMPv1 GETNEXT from then on (bUsedV1), as agents of SNMPv1 only
// drop what they cannot read.
WalkResult WalkColumns(SNMPManager& manager, const Target& target, const std::vector<OID>& columns,
                       std::vector<TableRow>& rows);

// The same walk over another way of asking: GETNEXT when nMaxRepetitions is negative, else
// GETBULK without non-repeaters; the answer's bindings replace the request's. Statuses as
// SNMPManager's. For the fuzzer, which answers as any agent might.
using WalkExchange = std::function<int(ReqRespPDU& pdu, const Target& target, int nMaxRepetitions)>;
WalkResult WalkColumns(const WalkExchange& exchange, const Target& target, const std::vector<OID>& columns,
                       std::vector<TableRow>& rows);
