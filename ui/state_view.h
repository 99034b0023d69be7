#pragma once
// What the sheet shows of the chosen printer's state: the severity of its
// indicator, the status line, and each supply's level for the indicator's card.
#include <optional>
#include <string>
#include <vector>

#include "printer/state/printer_state.h"

enum class StateSeverity { Ready, Warning, Stop, Unknown, NoAnswer };

struct SupplyLevel {
    std::wstring strName;
    std::optional<int> percent;  // none when the printer does not say
    std::wstring strLevel;       // "80 %", "some remaining", "unknown"
};

struct StateView {
    StateSeverity severity = StateSeverity::Unknown;
    std::wstring strLine;  // whole, as the printer said it
    std::vector<std::wstring> arrDetails;  // for the card: all else the printer tells
    std::vector<SupplyLevel> supplies;
};

StateSeverity SeverityOf(const PrinterState& state);
// A printer that answered: a state without status or condition is unknown.
StateView ViewOfState(const PrinterState& state);
// A printer whose check found no way to print on it: -1 it does not answer, 0
// Lumeo cannot print on it; with the files waiting for a printer that takes
// them, and how to ask again.
// bNotSnmp: something answered, but not as a printer; strIppReason: why a printer asked
// over IPP alone did not answer, as /probe says it ("no connection"); strUnsafe: why it
// could not be reached safely (it answered: a changed certificate, a sign-in), which the
// line says instead, with strUnsafeDetail (the fingerprints) in the card.
StateView ViewOfCheck(int nSupportedTypes, size_t nWaitingFiles, bool bNotSnmp = false,
                      const std::wstring& strIppReason = {}, const std::wstring& strUnsafe = {},
                      const std::wstring& strUnsafeDetail = {});
// The indicator's name for screen readers and its card's first line.
std::wstring SeverityName(StateSeverity severity);
// The card's text: the status line and a line per supply with its level.
std::wstring CardText(const std::wstring& strLine, const std::vector<SupplyLevel>& supplies);
