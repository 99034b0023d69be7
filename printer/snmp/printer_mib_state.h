#pragma once
// The printer's state from the Host Resources MIB (RFC 2790) and the Printer MIB
// (RFC 3805): the objects as the agent sent them, and the state they make.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "printer/state/printer_state.h"

namespace printer_mib {
// Columns, indexed by the printer's hrDeviceIndex (and the row's own index in tables).
inline constexpr char kHrDeviceStatus[] = "1.3.6.1.2.1.25.3.2.1.5";
inline constexpr char kHrPrinterStatus[] = "1.3.6.1.2.1.25.3.5.1.1";
inline constexpr char kHrPrinterDetectedErrorState[] = "1.3.6.1.2.1.25.3.5.1.2";
inline constexpr char kPrtMarkerCounterUnit[] = "1.3.6.1.2.1.43.10.2.1.3";
inline constexpr char kPrtMarkerLifeCount[] = "1.3.6.1.2.1.43.10.2.1.4";
// Table entries; the column numbers follow each.
inline constexpr char kPrtAlertEntry[] = "1.3.6.1.2.1.43.18.1.1";
enum AlertColumn { kAlertSeverity = 2, kAlertGroup = 4, kAlertCode = 7, kAlertDescription = 8 };
inline constexpr char kPrtMarkerSuppliesEntry[] = "1.3.6.1.2.1.43.11.1.1";
enum SupplyColumn {
    kSupplyClass = 4,
    kSupplyType = 5,
    kSupplyDescription = 6,
    kSupplyUnit = 7,
    kSupplyMaxCapacity = 8,
    kSupplyLevel = 9,
};
inline constexpr char kPrtInputEntry[] = "1.3.6.1.2.1.43.8.2.1";
enum InputColumn {
    kInputDimUnit = 3,
    kInputMediaDimFeedDir = 4,
    kInputMediaDimXFeedDir = 5,
    kInputMaxCapacity = 9,
    kInputCurrentLevel = 10,
    kInputMediaName = 12,
    kInputName = 13,
    kInputDescription = 18,
};
inline constexpr char kPrtOutputEntry[] = "1.3.6.1.2.1.43.9.2.1";
enum OutputColumn { kOutputName = 7 };
}  // namespace printer_mib

struct PrinterMibAlert {
    int nSeverity = 0;  // PrtAlertSeverityLevelTC
    int nGroup = 0;     // PrtAlertGroupTC
    int nCode = 0;      // PrtAlertCodeTC
    std::string strDescription;
};

struct PrinterMibSupply {
    int nClass = 0;  // PrtMarkerSuppliesClassTC
    int nType = 0;   // PrtMarkerSuppliesTypeTC
    int nUnit = 0;   // PrtMarkerSuppliesSupplyUnitTC
    int nMaxCapacity = kLevelUnknown;
    int nLevel = kLevelUnknown;
    std::string strDescription;
};

struct PrinterMibInput {
    std::string strName;
    std::string strDescription;
    std::string strMediaName;
    int nMaxCapacity = kLevelUnknown;
    int nLevel = kLevelUnknown;
    // The paper declared loaded: PrtMediaUnitTC (3 ten-thousandths of an inch, 4 micrometres)
    // and the two dimensions, -1 or -2 when not known.
    int nDimUnit = 0;
    int nFeedDim = kLevelUnknown;
    int nXFeedDim = kLevelUnknown;
};

struct PrinterMibOutput {
    std::string strName;
};

// What the agent answered for its printer; a missing object stays empty.
struct PrinterMibValues {
    uint32_t nDevice = 1;                      // the printer's hrDeviceIndex
    std::optional<int> nDeviceStatus;          // hrDeviceStatus
    std::optional<int> nPrinterStatus;         // hrPrinterStatus
    std::optional<std::string> strErrorState;  // hrPrinterDetectedErrorState, as sent
    std::optional<int> nCounterUnit;           // prtMarkerCounterUnit of the first marker
    std::optional<uint32_t> nLifeCount;        // prtMarkerLifeCount of the first marker
    std::vector<PrinterMibAlert> alerts;
    std::vector<PrinterMibSupply> supplies;
    std::vector<PrinterMibInput> inputs;
    std::vector<PrinterMibOutput> outputs;
};

// A printer that answered none of them has state Unknown and no conditions.
PrinterState StateOfPrinterMib(const PrinterMibValues& values);
