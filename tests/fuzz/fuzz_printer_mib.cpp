// Bindings as a hostile agent may send them, of any type, length and index: the answer to
// the state read and the walk of the supply, tray and alert tables. The walk stays inside
// its bounds whatever comes, and the state made of either has bounded texts free of
// control characters, as /probe shows them.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>

#include "printer/snmp/printer_state_read.h"
#include "printer/state/printer_state_text.h"

namespace {
namespace mib = printer_mib;
using Arcs = std::vector<uint32_t>;

Arcs ArcsOf(const std::string& dotted) { return OID(dotted.c_str()).getArcs(); }

std::string Column(const char* pszEntry, int nColumn) { return std::string(pszEntry) + "." + std::to_string(nColumn); }

// The columns the reader asks for, in the order its walk asks them.
std::vector<Arcs> StateColumns()
{
    std::vector<Arcs> columns;
    for (const char* p : {mib::kHrPrinterStatus, mib::kHrPrinterDetectedErrorState, mib::kPrtMarkerCounterUnit,
                          mib::kPrtMarkerLifeCount, mib::kHrDeviceStatus})
        columns.push_back(ArcsOf(p));
    for (int c : {mib::kAlertSeverity, mib::kAlertGroup, mib::kAlertCode, mib::kAlertDescription})
        columns.push_back(ArcsOf(Column(mib::kPrtAlertEntry, c)));
    return columns;
}

std::vector<OID> DetailColumns()
{
    std::vector<OID> columns;
    for (int c : {mib::kSupplyClass, mib::kSupplyType, mib::kSupplyDescription, mib::kSupplyUnit,
                  mib::kSupplyMaxCapacity, mib::kSupplyLevel})
        columns.emplace_back(Column(mib::kPrtMarkerSuppliesEntry, c).c_str());
    for (int c : {mib::kInputMaxCapacity, mib::kInputCurrentLevel, mib::kInputMediaName, mib::kInputName,
                  mib::kInputDescription})
        columns.emplace_back(Column(mib::kPrtInputEntry, c).c_str());
    for (int c : {mib::kAlertSeverity, mib::kAlertGroup, mib::kAlertCode, mib::kAlertDescription})
        columns.emplace_back(Column(mib::kPrtAlertEntry, c).c_str());
    return columns;
}

// One binding: mostly under a column asked for, with any index; any type, any value.
VarBind HostileBind(FuzzedDataProvider& in, const std::vector<Arcs>& columns)
{
    static const uint8_t kTypes[] = {0x02, 0x04, 0x05, 0x06, 0x40, 0x41, 0x42,
                                     0x43, 0x44, 0x46, 0x80, 0x81, 0x82, 0x30};
    Arcs oid = in.ConsumeIntegralInRange<int>(0, 7) ? columns[in.ConsumeIntegralInRange<size_t>(0, columns.size() - 1)]
                                                    : Arcs{1, 3, 6, 1};
    const size_t nIndex = in.ConsumeIntegralInRange<size_t>(0, 4);
    for (size_t i = 0; i < nIndex; ++i)
        oid.push_back(in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 4) : in.ConsumeIntegral<uint32_t>());
    VarBind bind;
    bind.setOID(OID(oid));
    const std::string value = in.ConsumeRandomLengthString(300);
    bind.setValue(SNMPDataType(in.PickValueInArray(kTypes), std::vector<unsigned char>(value.begin(), value.end())));
    return bind;
}

bool Clean(const std::wstring& text)
{
    for (wchar_t ch : text)
        if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) || (ch >= 0x202A && ch <= 0x202E) || (ch >= 0x2066 && ch <= 0x2069))
            return false;
    return text.size() <= 2 * kMaxPrinterTextChars;  // surrogate pairs where wchar_t is 16 bits
}

void CheckState(const PrinterMibValues& values)
{
    const PrinterState state = StateOfPrinterMib(values);
    for (const PrinterCondition& condition : state.conditions)
        if (!Clean(condition.strWords))
            std::abort();
    for (const PrinterSupply& supply : state.supplies)
        if (!Clean(supply.strDescription))
            std::abort();
    for (const PrinterTray& tray : state.trays)
        if (!Clean(tray.strName) || !Clean(tray.strDescription) || !Clean(tray.strMedia))
            std::abort();
    for (const std::wstring& line : ProbeStateLines(PortKind::Network, state))
        if (line.empty())
            std::abort();
}

// The state read's answer: any bindings at all.
void StateAnswer(FuzzedDataProvider& in)
{
    const std::vector<Arcs> columns = StateColumns();
    std::vector<VarBind> binds;
    const size_t nBinds = in.ConsumeIntegralInRange<size_t>(0, 64);
    for (size_t i = 0; i < nBinds && in.remaining_bytes(); ++i)
        binds.push_back(HostileBind(in, columns));
    ReqRespPDU answer;
    answer.setResponse(binds, 0, 0);
    PrinterMibValues values;
    const uint32_t nDevice = TakeStateAnswer(answer, values);
    if (nDevice != values.nDevice)
        std::abort();
    CheckState(values);
}

// /probe's walk, each request answered with fuzz: errors, short answers, rows out of order.
void DetailWalk(FuzzedDataProvider& in)
{
    const std::vector<OID> columns = DetailColumns();
    std::vector<Arcs> arcs;
    for (const OID& column : columns)
        arcs.push_back(column.getArcs());
    int nExchanges = 0;
    const auto exchange = [&](ReqRespPDU& pdu, const Target&, int) {
        ++nExchanges;
        static const int kStatuses[] = {SNMP_SUCCESS, SNMP_SUCCESS, SNMP_SUCCESS, 1, 2, 5, SNMP_ERROR_TIMEOUT};
        const int nStatus = in.PickValueInArray(kStatuses);
        if (nStatus < 0)
            return nStatus;
        std::vector<VarBind> binds;
        const size_t nBinds = in.ConsumeIntegralInRange<size_t>(0, 64);
        for (size_t i = 0; i < nBinds && in.remaining_bytes(); ++i)
            binds.push_back(HostileBind(in, arcs));
        pdu.setResponse(binds, nStatus, in.ConsumeIntegralInRange<int>(-1, 20));
        return nStatus;
    };
    Target target;
    target.setVersion(in.ConsumeBool() ? SNMPVersion::V2c : SNMPVersion::V1);
    std::vector<TableRow> rows;
    const WalkResult result = WalkColumns(exchange, target, columns, rows);
    const int nMostRequests = 2 * kMaxWalkRows + static_cast<int>(columns.size());  // the bound, and a last step
    if (result.nRequests != nExchanges || nExchanges > nMostRequests || rows.size() > kMaxWalkRows)
        std::abort();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].values.size() != columns.size() || (i && !(rows[i - 1].index < rows[i].index)))
            std::abort();
    PrinterMibValues values;
    TakeDetailRows(std::move(rows), in.ConsumeIntegralInRange<uint32_t>(0, 3), in.ConsumeBool(), values);
    if (values.supplies.size() > kMaxWalkRows || values.inputs.size() > kMaxWalkRows)
        std::abort();
    CheckState(values);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    if (in.ConsumeBool())
        StateAnswer(in);
    else
        DetailWalk(in);
    return 0;
}
