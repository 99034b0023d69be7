#include "printer/snmp/printer_state_read.h"

#include <algorithm>
#include <map>

#include "common/ansi_text.h"
#include "common/debug_log.h"
#include "snmp/table_walk.h"

namespace {

using Arcs = std::vector<uint32_t>;
namespace mib = printer_mib;

// The state read asks the first row of these (non-repeaters; the printer is its agent's
// first device) ...
const char* const kSingleColumns[] = {mib::kHrPrinterStatus, mib::kHrPrinterDetectedErrorState,
                                      mib::kPrtMarkerCounterUnit, mib::kPrtMarkerLifeCount, mib::kHrDeviceStatus};
// ... and the first kStateAlerts rows of the alert table: each row more costs the agent
// four objects more, also when there is no alert. The error bits tell the rest; /probe
// walks the whole table.
constexpr int kStateAlerts = 3;

std::string Column(const char* pszEntry, int nColumn) { return std::string(pszEntry) + "." + std::to_string(nColumn); }

std::vector<std::string> RepeatedColumns()
{
    return {Column(mib::kPrtAlertEntry, mib::kAlertSeverity), Column(mib::kPrtAlertEntry, mib::kAlertGroup),
            Column(mib::kPrtAlertEntry, mib::kAlertCode), Column(mib::kPrtAlertEntry, mib::kAlertDescription)};
}

// The index after `column` when `oid` lies under it.
std::optional<Arcs> IndexUnder(const Arcs& oid, const Arcs& column)
{
    if (oid.size() <= column.size() || !std::equal(column.begin(), column.end(), oid.begin()))
        return std::nullopt;
    return Arcs(oid.begin() + static_cast<long>(column.size()), oid.end());
}

// An INTEGER, Counter32, Gauge32 or TimeTicks value; nothing for any other or a malformed one.
std::optional<int64_t> IntegerOf(const SNMPDataType& value)
{
    const int nType = value.getDataType();
    const std::vector<unsigned char>& c = value.getContent();
    const bool bSigned = nType == SNMP_TYPE_INTEGER;
    if ((!bSigned && nType != SNMP_TYPE_COUNTER32 && nType != SNMP_TYPE_GAUGE32 && nType != SNMP_TYPE_TIMETICKS) ||
        c.empty() || c.size() > 5)
        return std::nullopt;
    int64_t n = bSigned && (c[0] & 0x80) ? -1 : 0;
    for (unsigned char b : c)
        n = static_cast<int64_t>((static_cast<uint64_t>(n) << 8) | b);
    if (n < INT32_MIN || n > UINT32_MAX)
        return std::nullopt;
    return n;
}

int IntOr(const SNMPDataType& value, int nDefault)
{
    const std::optional<int64_t> n = IntegerOf(value);
    return n && *n >= INT32_MIN && *n <= INT32_MAX ? static_cast<int>(*n) : nDefault;
}

std::string OctetsOf(const SNMPDataType& value)
{
    if (value.getDataType() != SNMP_TYPE_OCTET_STRING)
        return {};
    return std::string(value.getContent().begin(), value.getContent().end());
}

std::vector<OID> Columns(const char* pszEntry, std::initializer_list<int> columns)
{
    std::vector<OID> oids;
    for (int nColumn : columns)
        oids.emplace_back(Column(pszEntry, nColumn).c_str());
    return oids;
}

// Rows of the printer's device only: their index is the device and the row's own number.
std::vector<TableRow> RowsOfDevice(std::vector<TableRow> rows, uint32_t nDevice)
{
    std::erase_if(rows, [&](const TableRow& row) { return row.index.size() != 2 || row.index[0] != nDevice; });
    return rows;
}

}  // namespace

uint32_t TakeStateAnswer(const ReqRespPDU& answer, PrinterMibValues& values)
{
    std::vector<Arcs> singles;
    for (const char* pszColumn : kSingleColumns)
        singles.push_back(OID(pszColumn).getArcs());
    std::vector<Arcs> repeated;
    for (const std::string& column : RepeatedColumns())
        repeated.push_back(OID(column.c_str()).getArcs());

    // Each single column's first answer, and each repeated column's cells by index.
    std::vector<std::optional<std::pair<Arcs, const SNMPDataType*>>> single(singles.size());
    std::vector<std::map<Arcs, const SNMPDataType*>> cells(repeated.size());
    for (int i = 0; i < answer.getVarBindCount(); ++i) {
        const VarBind& bind = *answer.getVarBind(i);
        for (size_t c = 0; c < singles.size(); ++c)
            if (std::optional<Arcs> index = IndexUnder(bind.getOID().getArcs(), singles[c]); index && !single[c])
                single[c] = std::make_pair(*index, &bind.getValue());
        for (size_t c = 0; c < repeated.size(); ++c)
            if (std::optional<Arcs> index = IndexUnder(bind.getOID().getArcs(), repeated[c]))
                cells[c].emplace(*index, &bind.getValue());
    }

    // The printer is the device of its hrPrinterTable row, else of its marker or first alert.
    uint32_t nDevice = 1;
    if (single[0] || single[1])
        nDevice = (single[0] ? single[0] : single[1])->first[0];
    else if (single[2] || single[3])
        nDevice = (single[2] ? single[2] : single[3])->first[0];
    else if (!cells[0].empty())
        nDevice = cells[0].begin()->first[0];
    values.nDevice = nDevice;
    const auto ofDevice = [&](size_t c, size_t nArcs) -> const SNMPDataType* {
        return single[c] && single[c]->first.size() == nArcs && single[c]->first[0] == nDevice ? single[c]->second
                                                                                            : nullptr;
    };
    if (const SNMPDataType* p = ofDevice(0, 1))
        values.nPrinterStatus = IntOr(*p, 0);
    if (const SNMPDataType* p = ofDevice(1, 1); p && p->getDataType() == SNMP_TYPE_OCTET_STRING)
        values.strErrorState = OctetsOf(*p);
    if (const SNMPDataType* p = ofDevice(2, 2))
        values.nCounterUnit = IntOr(*p, 0);
    if (const SNMPDataType* p = ofDevice(3, 2))
        if (std::optional<int64_t> n = IntegerOf(*p); n && *n >= 0)
            values.nLifeCount = static_cast<uint32_t>(*n);
    if (const SNMPDataType* p = ofDevice(4, 1))
        values.nDeviceStatus = IntOr(*p, 0);

    // Alerts: the rows of the printer's device that the severity column holds.
    for (const auto& [index, pSeverity] : cells[0]) {
        if (index.size() != 2 || index[0] != nDevice)
            continue;
        const auto cell = [&cells, &row = index](size_t c) {
            auto it = cells[c].find(row);
            return it == cells[c].end() ? SNMPDataType() : *it->second;
        };
        values.alerts.push_back({IntOr(*pSeverity, 0), IntOr(cell(1), 0), IntOr(cell(2), 0), OctetsOf(cell(3))});
    }
    return nDevice;
}

PrinterStateReader::PrinterStateReader(const std::wstring& strAddress, const std::wstring& strCommunity)
{
    SNMPStartup();
    const std::string address = ToAnsi(strAddress);
    const std::string community = ToAnsi(strCommunity);
    m_target.setAgentAddress(address.c_str());
    m_target.setReadCommunity(community.c_str());
    m_target.setTimeout(1);
    m_target.setRetryCount(0);
    m_target.setVersion(SNMPVersion::V2c);
}

PrinterStateReader::~PrinterStateReader() { SNMPCleanup(); }

int PrinterStateReader::ReadValues(PrinterMibValues& values)
{
    std::vector<VarBind> binds;
    for (const char* pszColumn : kSingleColumns)
        binds.emplace_back().setOID(OID(pszColumn));
    for (const std::string& column : RepeatedColumns())
        binds.emplace_back().setOID(OID(column.c_str()));
    ReqRespPDU pdu;
    int nStatus = SNMP_ERROR_TIMEOUT;
    if (!m_bV1Only) {
        pdu.setVarBindList(binds.data(), static_cast<int>(binds.size()));
        ++m_nRequests;
        nStatus = m_manager.getBulk(pdu, m_target, static_cast<int>(std::size(kSingleColumns)), kStateAlerts);
        // Agents of SNMPv1 alone drop the request; some refuse it with an error.
        if (nStatus == SNMP_ERROR_TIMEOUT || nStatus > SNMP_SUCCESS) {
            DebugLog(L"[PrinterState] GETBULK: %s, asking with SNMPv1",
                     FromAnsi(SNMPManager::errorToString(nStatus)).c_str());
            m_bV1Only = true;
        }
    }
    if (m_bV1Only) {
        Target v1 = m_target;
        v1.setVersion(SNMPVersion::V1);
        pdu.setVarBindList(binds.data(), static_cast<int>(binds.size()));
        ++m_nRequests;
        nStatus = m_manager.getNext(pdu, v1);
    }
    if (nStatus != SNMP_SUCCESS) {
        DebugLog(L"[PrinterState] state read: %s", FromAnsi(SNMPManager::errorToString(nStatus)).c_str());
        return SNMPManager::agentAnswered(nStatus) ? 1 : 0;
    }
    m_nDevice = TakeStateAnswer(pdu, values);
    m_bAllAlerts = values.alerts.size() < (m_bV1Only ? 1u : static_cast<size_t>(kStateAlerts));
    return 1;
}

int PrinterStateReader::Read(PrinterState& state)
{
    PrinterMibValues values;
    const int nAnswered = ReadValues(values);
    state = StateOfPrinterMib(values);
    return nAnswered;
}

int PrinterStateReader::ReadDetails(PrinterState& state)
{
    PrinterMibValues values;
    if (!ReadValues(values)) {
        state = StateOfPrinterMib(values);
        return 0;
    }
    // One walk of the supplies, the trays and, when the state read may have missed some,
    // the alerts: their rows share the index (device, row), so a row holds each table's.
    std::vector<OID> columns = Columns(mib::kPrtMarkerSuppliesEntry,
                                       {mib::kSupplyClass, mib::kSupplyType, mib::kSupplyDescription,
                                        mib::kSupplyUnit, mib::kSupplyMaxCapacity, mib::kSupplyLevel});
    for (OID& column : Columns(mib::kPrtInputEntry, {mib::kInputMaxCapacity, mib::kInputCurrentLevel,
                                                     mib::kInputMediaName, mib::kInputName, mib::kInputDescription,
                                                     mib::kInputDimUnit, mib::kInputMediaDimFeedDir,
                                                     mib::kInputMediaDimXFeedDir}))
        columns.push_back(std::move(column));
    for (OID& column : Columns(mib::kPrtOutputEntry, {mib::kOutputName}))
        columns.push_back(std::move(column));
    const bool bAlerts = !m_bAllAlerts;
    if (bAlerts)
        for (OID& column : Columns(mib::kPrtAlertEntry, {mib::kAlertSeverity, mib::kAlertGroup, mib::kAlertCode,
                                                         mib::kAlertDescription}))
            columns.push_back(std::move(column));
    Target target = m_target;
    if (m_bV1Only)
        target.setVersion(SNMPVersion::V1);
    std::vector<TableRow> rows;
    const WalkResult result = WalkColumns(m_manager, target, columns, rows);
    m_nRequests += result.nRequests;
    m_bV1Only = m_bV1Only || result.bUsedV1;

    TakeDetailRows(std::move(rows), m_nDevice, bAlerts && result.nStatus == SNMP_SUCCESS, values);
    state = StateOfPrinterMib(values);
    return 1;
}

void TakeDetailRows(std::vector<TableRow> rows, uint32_t nDevice, bool bAlerts, PrinterMibValues& values)
{
    const auto holds = [](const TableRow& row, size_t nFrom, size_t nTo) {
        for (size_t c = nFrom; c < nTo && c < row.values.size(); ++c)
            if (row.values[c].getDataType() != SNMP_TYPE_NULL)
                return true;
        return false;
    };
    if (bAlerts)
        values.alerts.clear();  // the walk sees every one
    for (const TableRow& row : RowsOfDevice(std::move(rows), nDevice)) {
        const std::vector<SNMPDataType>& v = row.values;
        if (v.size() < (bAlerts ? kDetailColumns : kDetailColumns - 4))
            continue;
        if (holds(row, 0, 6))
            values.supplies.push_back({IntOr(v[0], 0), IntOr(v[1], 0), IntOr(v[3], 0), IntOr(v[4], kLevelUnknown),
                                       IntOr(v[5], kLevelUnknown), OctetsOf(v[2])});
        if (holds(row, 6, 14))
            values.inputs.push_back({OctetsOf(v[9]), OctetsOf(v[10]), OctetsOf(v[8]), IntOr(v[6], kLevelUnknown),
                                     IntOr(v[7], kLevelUnknown), IntOr(v[11], 0), IntOr(v[12], kLevelUnknown),
                                     IntOr(v[13], kLevelUnknown)});
        if (holds(row, 14, 15))
            values.outputs.push_back({OctetsOf(v[14])});
        if (bAlerts && holds(row, 15, 19))
            values.alerts.push_back({IntOr(v[15], 0), IntOr(v[16], 0), IntOr(v[17], 0), OctetsOf(v[18])});
    }
}
