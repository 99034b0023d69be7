#pragma once
// The lines of a run without the sheet (/print, /probe, /?), from section "COMMAND_LINE"
// of the UI string file with English built in. A text names its values "%1", "%2", ...,
// so a translation may put them in any order; nothing else in it is read as a format.
#include <string>
#include <vector>

#include "app/script_run.h"
#include "files/command_line_options.h"
#include "printer/device_id_route.h"

// "%1" to "%9" replaced by the values (a missing value by nothing).
std::wstring FillText(const std::wstring& strPattern, const std::vector<std::wstring>& arrValues);

std::vector<std::wstring> UsageLines(const std::wstring& strProgram, const OptionKeywords& keywords);
std::wstring UsageErrorLine(const CommandLine& cmd);
// LumeoCmd started without /print, /probe or /?.
std::wstring NoRunLine();

std::wstring UnknownPrinterLine(const std::wstring& strPrinter);
// The printer message of a supported-type mask that admits nothing (messages 2, 3, 4).
std::wstring PrinterCheckLine(int nSupportedTypes);

std::wstring FileLine(const FileReport& report);
std::wstring SummaryLine(const std::vector<FileReport>& arrReports, const std::wstring& strPrinter);

std::vector<std::wstring> ProbeLines(const std::wstring& strPrinter, const DeviceIdRoute& route, bool bObtained,
                                     const std::wstring& strDeviceID, int nSupportedTypes);
