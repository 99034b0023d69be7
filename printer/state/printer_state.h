#pragma once
// What a printer says of itself, whichever way it was asked: its state, the conditions
// behind it, its page counter, its supplies and its input trays. The Printer MIB over SNMP
// fills it today; another route can fill the same (printer_route.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printer/state/ticket_offer.h"

enum class PrinterStatus { Unknown, Ready, Printing, WarmingUp, Warning, Stopped };

enum class ConditionSeverity { Warning, Stop };

enum class ConditionKind {
    PaperJam,
    CoverOpen,
    OutOfPaper,
    PaperLow,
    OutOfToner,  // or ink, ribbon, developer
    TonerLow,
    OutputFull,
    Offline,
    ServiceRequested,
    Other,
};

// Our own words where the kind alone says too little and the printer gave none.
enum class ConditionDetail {
    None,
    DeviceDown,
    InputTrayMissing,
    OutputTrayMissing,
    SupplyMissing,
    OutputNearFull,
    InputTrayEmpty,
    MaintenanceOverdue,
};

struct PrinterCondition {
    ConditionSeverity severity = ConditionSeverity::Warning;
    ConditionKind kind = ConditionKind::Other;
    ConditionDetail detail = ConditionDetail::None;
    std::wstring strWords;  // the printer's own words (cleaned), empty when it gave none

    bool operator==(const PrinterCondition&) const = default;
};

// A capacity or level is a quantity of the supply's unit or one of these.
constexpr int kLevelOther = -1;          // for a capacity: no restriction
constexpr int kLevelUnknown = -2;
constexpr int kLevelSomeRemaining = -3;  // at least one unit is left

struct PrinterSupply {
    std::wstring strDescription;
    bool bReceptacle = false;    // fills up as the printer works (waste toner), rather than empties
    bool bPercentUnit = false;   // the level counts in per cent
    int nMaxCapacity = kLevelUnknown;
    int nLevel = kLevelUnknown;
};

struct PrinterTray {
    std::wstring strName;
    std::wstring strDescription;
    std::wstring strMedia;
    int nMaxCapacity = kLevelUnknown;
    int nLevel = kLevelUnknown;
};

struct PrinterState {
    PrinterStatus status = PrinterStatus::Unknown;
    std::vector<PrinterCondition> conditions;  // stop conditions first
    // What the printer tells of itself in general ("Printing."), apart from any condition.
    std::wstring strMessage;
    // News that is no trouble ("toner-low-report"): shown, never counted as a warning.
    std::vector<PrinterCondition> reports;
    std::optional<uint32_t> nPageCounter;      // pages (impressions or sheets) over the printer's life
    // Whose counter it is and what it counts: counts of another device or unit do not compare.
    uint32_t nCounterDevice = 0;
    int nCounterUnit = 0;
    std::vector<PrinterSupply> supplies;
    std::vector<PrinterTray> trays;
    // What a printer listed beyond the most one answer may fill: counted, not kept.
    size_t nMoreConditions = 0;
    size_t nMoreSupplies = 0;
    size_t nMoreTrays = 0;
    // What a job may choose there (trays, bins, finishing, PIN printing); read with the details.
    TicketOffer offer;
};

// The most conditions, supplies and trays one answer fills; the rest are only counted.
constexpr size_t kMostListedOfAnAnswer = 64;

// Stopped, or a condition that keeps the printer from printing now.
bool HasStopCondition(const PrinterState& state);
// The first stop condition, else the first warning; nullptr when there is none.
const PrinterCondition* MainCondition(const PrinterState& state);

// The level in per cent of the capacity (0-100), or nothing when the printer does not say.
std::optional<int> LevelPercent(int nLevel, int nMaxCapacity, bool bPercentUnit);

// A text from the printer made fit to show: UTF-8 when it is valid UTF-8, else Latin-1;
// it ends at a zero byte, control characters become blanks, blanks around it go, and it is
// cut to nMaxChars (a device ID may be longer than a printer's words).
constexpr size_t kMaxPrinterTextChars = 128;
std::wstring CleanPrinterText(std::string_view bytes, size_t nMaxChars = kMaxPrinterTextChars);
