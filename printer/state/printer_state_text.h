#pragma once
// The printer's state in words, from section "PRINTER_STATE" of the UI string file with
// English built in: for /probe, and for the sheet's status line and a run's summary.
#include <string>
#include <vector>

#include "printer/state/port_kind.h"
#include "printer/state/printer_state.h"

// "Ready", "Printing", ...
std::wstring PrinterStatusText(PrinterStatus status);
// "Paper jam", or with the printer's own words "Toner low: Black Toner Cartridge 15 %".
std::wstring PrinterConditionText(const PrinterCondition& condition);
// One line for a status line: the main condition, else the status ("Ready", "Cover open").
std::wstring PrinterStateLine(const PrinterState& state);
// What the printer reports of its main condition in its own words ("Paper jam in tray 1"),
// else in ours ("Paper jam"), else its status: for "The printer reports: ...".
std::wstring PrinterReportText(const PrinterState& state);
// "80 %", "40 % full" (a receptacle), "some remaining" or "unknown".
std::wstring PrinterLevelText(int nLevel, int nMaxCapacity, bool bPercentUnit, bool bReceptacle);

// /probe's lines after the verdict: the state and its conditions, the page counter, each
// supply and input tray with its level; for a local or file port, that its state is unknown.
std::vector<std::wstring> ProbeStateLines(PortKind kind, const PrinterState& state);
