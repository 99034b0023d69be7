#include "printer/snmp/printer_mib_state.h"

#include <algorithm>

#include "printer/snmp/printer_mib_ticket.h"

namespace {

using Kind = ConditionKind;
using Detail = ConditionDetail;
constexpr ConditionSeverity kStop = ConditionSeverity::Stop;
constexpr ConditionSeverity kWarn = ConditionSeverity::Warning;

// hrDeviceStatus and hrPrinterStatus values.
enum { kDeviceRunning = 2, kDeviceWarning = 3, kDeviceTesting = 4, kDeviceDown = 5 };
enum { kPrinterIdle = 3, kPrinterPrinting = 4, kPrinterWarmup = 5 };
// prtAlertSeverityLevel, prtAlertGroup, prtMarkerCounterUnit and supply values.
constexpr int kAlertCritical = 3;
enum { kGroupInput = 8, kGroupOutput = 9, kGroupMarker = 10, kGroupMarkerSupplies = 11 };
enum { kCounterImpressions = 7, kCounterSheets = 8 };
constexpr int kSupplyConsumed = 3;
constexpr int kSupplyReceptacle = 4;
constexpr int kUnitPercent = 19;

// Filled rather than used up: by its class, or by a waste type when the class says nothing.
bool IsReceptacle(const PrinterMibSupply& supply)
{
    constexpr int kWasteTypes[] = {4, 8, 14, 24, 26};  // waste toner, ink, wax, water, paper
    if (supply.nClass == kSupplyReceptacle)
        return true;
    return supply.nClass != kSupplyConsumed && std::find(std::begin(kWasteTypes), std::end(kWasteTypes), supply.nType) !=
                                     std::end(kWasteTypes);
}

struct Meaning {
    Kind kind;
    Detail detail;
    ConditionSeverity severity;  // the least it is, whatever severity an alert gives it
};

// hrPrinterDetectedErrorState: bit 0 is the first octet's highest bit.
constexpr Meaning kErrorBits[] = {
    {Kind::PaperLow, Detail::None, kWarn},                         // lowPaper
    {Kind::OutOfPaper, Detail::None, kStop},                       // noPaper
    {Kind::TonerLow, Detail::None, kWarn},                         // lowToner
    {Kind::OutOfToner, Detail::None, kStop},                       // noToner
    {Kind::CoverOpen, Detail::None, kStop},                        // doorOpen
    {Kind::PaperJam, Detail::None, kStop},                         // jammed
    {Kind::Offline, Detail::None, kStop},                          // offline
    {Kind::ServiceRequested, Detail::None, kStop},                 // serviceRequested
    {Kind::Other, Detail::InputTrayMissing, kWarn},                // inputTrayMissing
    {Kind::Other, Detail::OutputTrayMissing, kWarn},               // outputTrayMissing
    {Kind::Other, Detail::SupplyMissing, kWarn},                   // markerSupplyMissing
    {Kind::OutputFull, Detail::OutputNearFull, kWarn},             // outputNearFull
    {Kind::OutputFull, Detail::None, kWarn},                       // outputFull
    {Kind::OutOfPaper, Detail::InputTrayEmpty, kWarn},             // inputTrayEmpty
    {Kind::ServiceRequested, Detail::MaintenanceOverdue, kWarn},   // overduePreventMaint
};

// What a PrtAlertCodeTC value means in its group; nothing for news that is no trouble
// (a cover closed, power up, a configuration change).
std::optional<Meaning> MeaningOfAlert(int nGroup, int nCode)
{
    // Finisher codes repeat the sub-unit codes 3-38 for each finishing device.
    if (nCode >= 30200 && nCode < 32000 && nCode % 100 >= 3 && nCode % 100 <= 38)
        nCode %= 100;
    const bool bInput = nGroup == kGroupInput;
    const bool bMarker = nGroup == kGroupMarker || nGroup == kGroupMarkerSupplies;
    switch (nCode) {
    case 4: case 6: case 7: case 19: case 20: case 23: case 24: case 25: case 26: case 27: case 28:
    case 502: case 503: case 505: case 506: case 507:
    case 802: case 803: case 804: case 805: case 806:
    case 1005: case 1501: case 1502: case 1503: case 1504: case 1505: case 1506: case 1801:
        return std::nullopt;
    case 3: case 5: case 18: case 501:
        return Meaning{Kind::CoverOpen, Detail::None, kStop};
    case 8:
        return Meaning{Kind::PaperJam, Detail::None, kStop};
    case 12:
        return Meaning{bInput ? Kind::PaperLow : bMarker ? Kind::TonerLow : Kind::Other, Detail::None, kWarn};
    case 13:
        if (bInput || bMarker)
            return Meaning{bInput ? Kind::OutOfPaper : Kind::OutOfToner, Detail::None, kStop};
        return Meaning{Kind::Other, Detail::None, kWarn};
    case 14: case 15:
        return Meaning{nGroup == kGroupOutput ? Kind::OutputFull : Kind::Other, Detail::None, kWarn};
    case 21: case 22: case 504:
        return Meaning{Kind::Offline, Detail::None, kStop};
    case 30: case 32:
        return Meaning{Kind::ServiceRequested, Detail::None, kStop};
    case 11: case 29: case 31: case 33: case 34: case 35: case 36: case 37: case 38:
    case 1001: case 1002: case 1003: case 1004: case 1112:
        return Meaning{Kind::ServiceRequested, Detail::None, kWarn};
    case 807:
        return Meaning{Kind::PaperLow, Detail::None, kWarn};
    case 808:
        return Meaning{Kind::OutOfPaper, Detail::None, kStop};
    case 902: case 903:
        return Meaning{Kind::OutputFull, Detail::None, kWarn};
    case 1101: case 1102: case 1103: case 1114:
        return Meaning{Kind::OutOfToner, Detail::None, kStop};
    case 1104: case 1105: case 1106: case 1113:
        return Meaning{Kind::TonerLow, Detail::None, kWarn};
    default:
        return Meaning{Kind::Other, Detail::None, kWarn};
    }
}

bool Holds(const std::vector<PrinterCondition>& conditions, Kind kind, Detail detail)
{
    return std::any_of(conditions.begin(), conditions.end(),
                       [&](const PrinterCondition& c) { return c.kind == kind && c.detail == detail; });
}

void AddAlerts(const std::vector<PrinterMibAlert>& alerts, std::vector<PrinterCondition>& conditions)
{
    for (const PrinterMibAlert& alert : alerts) {
        const std::optional<Meaning> meaning = MeaningOfAlert(alert.nGroup, alert.nCode);
        if (!meaning)
            continue;
        PrinterCondition condition{alert.nSeverity == kAlertCritical ? kStop : meaning->severity, meaning->kind,
                                   meaning->detail, CleanPrinterText(alert.strDescription)};
        const bool bSame = std::any_of(conditions.begin(), conditions.end(), [&](const PrinterCondition& c) {
            return c.kind == condition.kind && c.strWords == condition.strWords && c.severity == condition.severity;
        });
        if (!bSame)
            conditions.push_back(std::move(condition));
    }
}

// The error bits add what no alert said already.
void AddErrorBits(const std::string& octets, std::vector<PrinterCondition>& conditions)
{
    const size_t nBits = std::min(octets.size() * 8, std::size(kErrorBits));
    for (size_t bit = 0; bit < nBits; ++bit) {
        if (!(static_cast<unsigned char>(octets[bit / 8]) & (0x80 >> (bit % 8))))
            continue;
        const Meaning& meaning = kErrorBits[bit];
        if (!Holds(conditions, meaning.kind, meaning.detail))
            conditions.push_back({meaning.severity, meaning.kind, meaning.detail, {}});
    }
}

PrinterStatus StatusOf(const PrinterMibValues& values, const std::vector<PrinterCondition>& conditions)
{
    const int nDevice = values.nDeviceStatus.value_or(0);
    const int nPrinter = values.nPrinterStatus.value_or(0);
    const bool bStop = std::any_of(conditions.begin(), conditions.end(),
                                   [](const PrinterCondition& c) { return c.severity == kStop; });
    if (bStop || nDevice == kDeviceDown)
        return PrinterStatus::Stopped;
    if (nPrinter == kPrinterPrinting)
        return PrinterStatus::Printing;
    if (nPrinter == kPrinterWarmup || nDevice == kDeviceTesting)
        return PrinterStatus::WarmingUp;
    if (!conditions.empty() || nDevice == kDeviceWarning)
        return PrinterStatus::Warning;
    if (nPrinter == kPrinterIdle || nDevice == kDeviceRunning)
        return PrinterStatus::Ready;
    return PrinterStatus::Unknown;
}

}  // namespace

PrinterState StateOfPrinterMib(const PrinterMibValues& values)
{
    PrinterState state;
    AddAlerts(values.alerts, state.conditions);
    if (values.strErrorState)
        AddErrorBits(*values.strErrorState, state.conditions);
    std::stable_sort(state.conditions.begin(), state.conditions.end(),
                     [](const PrinterCondition& a, const PrinterCondition& b) {
                         return a.severity == kStop && b.severity != kStop;
                     });
    state.status = StatusOf(values, state.conditions);
    if (state.status == PrinterStatus::Stopped && (state.conditions.empty() || state.conditions[0].severity != kStop))
        state.conditions.insert(state.conditions.begin(), {kStop, Kind::Other, Detail::DeviceDown, {}});

    if (values.nLifeCount && (values.nCounterUnit == kCounterImpressions || values.nCounterUnit == kCounterSheets)) {
        state.nPageCounter = *values.nLifeCount;
        state.nCounterDevice = values.nDevice;
        state.nCounterUnit = *values.nCounterUnit;
    }
    for (const PrinterMibSupply& supply : values.supplies)
        state.supplies.push_back({CleanPrinterText(supply.strDescription), IsReceptacle(supply),
                                  supply.nUnit == kUnitPercent, supply.nMaxCapacity, supply.nLevel});
    for (const PrinterMibInput& input : values.inputs)
        state.trays.push_back({CleanPrinterText(input.strName), CleanPrinterText(input.strDescription),
                               CleanPrinterText(input.strMediaName), input.nMaxCapacity, input.nLevel});
    state.offer = TicketOfferOfPrinterMib(values);
    return state;
}
