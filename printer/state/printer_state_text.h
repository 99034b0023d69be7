#pragma once
// The printer's state in words, from section "PRINTER_STATE" of the UI string file with
// English built in: for /probe, and for the sheet's status line and a run's summary.
#include <string>
#include <vector>

#include "printer/state/port_kind.h"
#include "printer/state/printer_state.h"

// "Ready", "Printing", ...
std::wstring PrinterStatusText(PrinterStatus status);
// "Paper jam", or with the printer's own words "Toner low: Black Toner Cartridge 15 %"
// (only the words when they hold ours: "Paper jam in tray 1").
std::wstring PrinterConditionText(const PrinterCondition& condition);
// One line for a status line: the main condition, else the status ("Ready", "Cover open").
std::wstring PrinterStateLine(const PrinterState& state);
// What the printer reports, for "The printer reports: ...": its status line, then the
// printer's general message as a sentence of its own.
std::wstring PrinterReportText(const PrinterState& state);
// Everything beside the status line: each further condition ("Warning: Paper low"), the
// printer's message ("The printer says: Printing.") and its news ("Information: Toner low").
std::vector<std::wstring> PrinterStateDetails(const PrinterState& state);
// "80 %", "40 % full" (a receptacle), "some remaining" or "unknown".
std::wstring PrinterLevelText(int nLevel, int nMaxCapacity, bool bPercentUnit, bool bReceptacle);
// "Tray: Tray 1 (A4): 80 %": the tray's name, else its description, else its number
// (nIndex from 0), with its media and level.
std::wstring PrinterTrayLine(const PrinterTray& tray, size_t nIndex);

// /probe's lines after the verdict: the state and its conditions, the page counter, each
// supply and input tray with its level; for a local or file port, that its state is unknown.
std::vector<std::wstring> ProbeStateLines(PortKind kind, const PrinterState& state);
