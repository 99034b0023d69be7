#pragma once
// The lines of a run without the sheet (/print, /probe, /?), from section "COMMAND_LINE"
// of the UI string file with English built in. A text names its values "{1}", "{2}", ...,
// so a translation may put them in any order.
#include <string>
#include <vector>

#include "app/script/report/script_run.h"
#include "files/command_line_options.h"
#include "printer/ipp/ipp_printer_route.h"
#include "printer/port/device_id_route.h"
#include "printer/state/printer_state.h"

std::vector<std::wstring> UsageLines(const std::wstring& strProgram, const OptionKeywords& keywords);
std::wstring UsageErrorLine(const CommandLine& cmd);
// LumeoCmd started without /print, /probe or /?.
std::wstring NoRunLine();

std::wstring UnknownPrinterLine(const std::wstring& strPrinter);
// /via asked for a road the printer does not have (exit code 1).
std::wstring NoRoadLine(PrintRoad road, const std::wstring& strPrinter);
// The printer message of a supported-type mask that admits nothing (messages 2, 3, 4), or
// why a printer that did not answer could not be reached safely (exit code 7); a silent
// network printer (its port's kind) gets no advice about a cable.
std::wstring PrinterCheckLine(int nSupportedTypes, PortKind kind = PortKind::Usb, const IppSafetyFacts& safety = {});

// The printer reports a stop condition before the run (exit code 6).
std::wstring PrinterStoppedLine(const PrinterState& state);

// "Sent", or "Refused" by admission or "Not sent" afterwards, with the file's reason; a
// file sent into the printer's trouble is "Sent" with it.
std::wstring FileLine(const FileReport& report);
// One line per cause of the files that were not sent, with their count, in the order
// the causes first appear: "2 refused: the printer does not take the type".
std::vector<std::wstring> ReasonCountLines(const std::vector<FileReport>& arrReports);
// The print run's headline, as the sheet ends a run with it.
std::wstring SummaryLine(const std::vector<FileReport>& arrReports, const std::wstring& strPrinter);

// pStoppedNow: the state of a printer Lumeo can print on that reports it cannot print now;
// arrIpp: the requests to a printer reached by its URL alone, which has no port.
std::vector<std::wstring> ProbeLines(const std::wstring& strPrinter, const DeviceIdRoute& route, bool bObtained,
                                     const std::wstring& strDeviceID, int nSupportedTypes,
                                     const PrinterState* pStoppedNow = nullptr,
                                     const std::vector<IppRequestRoute>& arrIpp = {});
