#include "snmp/table_walk.h"

#include <algorithm>
#include <map>

#include "snmp/ber_codec.h"

namespace {

using Arcs = std::vector<uint32_t>;

constexpr int kNoSuchName = 2;  // SNMPv1's answer past the last object
// A GETNEXT walk of a full table takes one request a row and one more.
constexpr int kMaxWalkRequests = 2 * kMaxWalkRows;
constexpr int kTooBig = 1;

bool IsUnder(const Arcs& oid, const Arcs& column)
{
    return oid.size() > column.size() && std::equal(column.begin(), column.end(), oid.begin());
}

bool IsException(int nType)
{
    return nType == SNMP_TYPE_NO_SUCH_OBJECT || nType == SNMP_TYPE_NO_SUCH_INSTANCE ||
           nType == SNMP_TYPE_END_OF_MIB_VIEW;
}

class ColumnWalk {
public:
    ColumnWalk(const std::vector<OID>& columns, WalkResult& result)
        : m_columns(columns), m_result(result)
    {
        for (const OID& column : columns)
            m_cursors.push_back(column.getArcs());
        m_active.assign(columns.size(), true);
    }

    std::vector<size_t> Active() const
    {
        std::vector<size_t> active;
        for (size_t c = 0; c < m_active.size(); ++c)
            if (m_active[c] && !m_bFull)
                active.push_back(c);
        return active;
    }

    void Request(ReqRespPDU& pdu, const std::vector<size_t>& active) const
    {
        std::vector<VarBind> binds(active.size());
        for (size_t i = 0; i < active.size(); ++i)
            binds[i].setOID(OID(m_cursors[active[i]]));
        pdu.setVarBindList(binds.data(), static_cast<int>(binds.size()));
    }

    void End(size_t column) { m_active[column] = false; }

    // Takes one answer binding for a column; false when the column ended with it.
    bool Take(size_t column, const VarBind& bind)
    {
        const Arcs& oid = bind.getOID().getArcs();
        if (!m_active[column] || IsException(bind.getValue().getDataType()) ||
            !IsUnder(oid, m_columns[column].getArcs())) {
            m_active[column] = false;
            return false;
        }
        if (!(m_cursors[column] < oid)) {
            m_result.bOutOfOrder = true;
            m_active[column] = false;
            return false;
        }
        m_cursors[column] = oid;
        Arcs index(oid.begin() + static_cast<long>(m_columns[column].getArcs().size()), oid.end());
        auto it = m_rows.find(index);
        if (it == m_rows.end()) {
            if (m_rows.size() == static_cast<size_t>(kMaxWalkRows)) {
                m_result.bTruncated = true;
                m_bFull = true;
                return false;
            }
            it = m_rows.emplace(std::move(index), std::vector<SNMPDataType>(m_columns.size())).first;
        }
        it->second[column] = bind.getValue();
        return true;
    }

    std::vector<TableRow> Rows() const
    {
        std::vector<TableRow> rows;
        for (const auto& [index, values] : m_rows)
            rows.push_back({index, values});
        return rows;
    }

private:
    const std::vector<OID>& m_columns;
    WalkResult& m_result;
    std::vector<Arcs> m_cursors;
    std::vector<bool> m_active;
    std::map<Arcs, std::vector<SNMPDataType>> m_rows;
    bool m_bFull = false;
};

// One GETNEXT: each active column moves by one. A SNMPv1 "no such name" ends the column
// it names and the others are asked again.
int StepNext(const WalkExchange& exchange, const Target& target, ColumnWalk& walk, WalkResult& result)
{
    for (;;) {
        const std::vector<size_t> active = walk.Active();
        if (active.empty())
            return SNMP_SUCCESS;
        ReqRespPDU pdu;
        walk.Request(pdu, active);
        ++result.nRequests;
        const int nStatus = exchange(pdu, target, -1);
        if (nStatus == kNoSuchName && pdu.getErrorIndex() >= 1 &&
            pdu.getErrorIndex() <= static_cast<int>(active.size())) {
            walk.End(active[static_cast<size_t>(pdu.getErrorIndex() - 1)]);
            continue;
        }
        if (nStatus != SNMP_SUCCESS)
            return nStatus;
        for (size_t i = 0; i < active.size(); ++i) {
            const VarBind* pBind = pdu.getVarBind(static_cast<int>(i));
            if (!pBind)
                walk.End(active[i]);  // an answer short of bindings
            else
                walk.Take(active[i], *pBind);
        }
        return SNMP_SUCCESS;
    }
}

// Rows the first GETBULK asks for: printers' tables are short, and every row asked past
// a table's end is work for the agent. Later ones ask for as many as an answer may hold.
constexpr int kFirstRepetitions = 5;

// One GETBULK: the answer holds the active columns row after row.
int StepBulk(const WalkExchange& exchange, const Target& target, ColumnWalk& walk, WalkResult& result,
             int& nRepetitions, int& nMostRepetitions)
{
    const std::vector<size_t> active = walk.Active();
    if (active.empty())
        return SNMP_SUCCESS;
    const int nWidth = static_cast<int>(active.size());
    int nReps = std::max(1, std::min(nRepetitions, static_cast<int>(snmp_ber::kMaxVarBinds) / nWidth));
    ReqRespPDU pdu;
    walk.Request(pdu, active);
    ++result.nRequests;
    const int nStatus = exchange(pdu, target, nReps);
    if (nStatus == kTooBig && nReps > 1) {
        nRepetitions = nMostRepetitions = nReps / 2;
        return SNMP_SUCCESS;  // asked again with fewer rows
    }
    if (nStatus != SNMP_SUCCESS)
        return nStatus;
    nRepetitions = nMostRepetitions;
    if (pdu.getVarBindCount() == 0) {
        for (size_t c : active)
            walk.End(c);
        return SNMP_SUCCESS;
    }
    std::vector<bool> ended(active.size(), false);
    for (int i = 0; i < pdu.getVarBindCount(); ++i) {
        const size_t slot = static_cast<size_t>(i % nWidth);
        if (!ended[slot] && !walk.Take(active[slot], *pdu.getVarBind(i)))
            ended[slot] = true;
    }
    return SNMP_SUCCESS;
}

}  // namespace

WalkResult WalkColumns(SNMPManager& manager, const Target& target, const std::vector<OID>& columns,
                       std::vector<TableRow>& rows)
{
    return WalkColumns(
        [&manager](ReqRespPDU& pdu, const Target& to, int nReps) {
            return nReps < 0 ? manager.getNext(pdu, to) : manager.getBulk(pdu, to, 0, nReps);
        },
        target, columns, rows);
}

WalkResult WalkColumns(const WalkExchange& exchange, const Target& target, const std::vector<OID>& columns,
                       std::vector<TableRow>& rows)
{
    WalkResult result;
    rows.clear();
    for (const OID& column : columns)
        if (!column.isValid()) {
            result.nStatus = SNMP_ERROR_BAD_REQUEST;
            return result;
        }
    ColumnWalk walk(columns, result);
    Target v1Target = target;
    v1Target.setVersion(SNMPVersion::V1);
    bool bBulk = target.getVersion() == SNMPVersion::V2c;
    int nRepetitions = kFirstRepetitions;
    int nMostRepetitions = kMaxWalkRows;
    while (!walk.Active().empty()) {
        // An agent that answers a binding at a time must not keep us, or its texts, forever.
        if (result.nRequests >= kMaxWalkRequests) {
            result.bTruncated = true;
            break;
        }
        if (bBulk) {
            const bool bFirst = result.nRequests == 0;
            result.nStatus = StepBulk(exchange, target, walk, result, nRepetitions, nMostRepetitions);
            // Silence or a refusal of the first one; an unreachable agent is not asked again.
            if (bFirst && (result.nStatus == SNMP_ERROR_TIMEOUT || result.nStatus > SNMP_SUCCESS)) {
                bBulk = false;
                result.bUsedV1 = true;
                result.nStatus = SNMP_SUCCESS;
                continue;
            }
        } else {
            result.nStatus = StepNext(exchange, result.bUsedV1 ? v1Target : target, walk, result);
        }
        if (result.nStatus != SNMP_SUCCESS)
            break;
    }
    rows = walk.Rows();
    return result;
}
