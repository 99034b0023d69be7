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
    std::vector<std::wstring> arrDetails;  // for the card: all else the printer tells, its trays last
    std::vector<SupplyLevel> supplies;
    size_t nMore = 0;  // what the printer listed beyond what was kept of its answer
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
// The card's text: the status line and a line per supply with its level, then how many
// more the printer listed.
std::wstring CardText(const std::wstring& strLine, const std::vector<SupplyLevel>& supplies, size_t nMore = 0);
// "… and N more": the last line of a list cut short.
std::wstring PrinterMoreText(size_t nMore);
// How many of the card's entries, of the heights given, fit in cyRoom, where a line of
// cyMore below them tells how many were left out, when any were or nMoreBeyond is not 0.
// The first entry always shows: a card says at least the status line.
size_t CardEntriesThatFit(const std::vector<int>& arrHeights, int cyMore, int cyRoom, size_t nMoreBeyond);
