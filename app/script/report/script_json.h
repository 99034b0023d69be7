#pragma once
// The one JSON document of a run with /json: the facts of the lines in stable English
// keys and values, never translated, for scripts and monitoring tools. Its shape is
// listed in the README; "version" grows with it.
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "app/script/report/script_run.h"
#include "files/command_line_options.h"
#include "job/settings/ticket_choice.h"
#include "job/outcome/print_summary.h"
#include "printer/ipp/ipp_printer_route.h"
#include "printer/port/device_id_route.h"
#include "printer/state/printer_state.h"

constexpr int kScriptJsonVersion = 1;

// What /probe found of one printer.
struct ProbeFacts {
    std::wstring strPrinter;
    DeviceIdRoute route;
    bool bObtained = false;  // a device ID was obtained (it may be empty)
    std::wstring strDeviceID;
    int nSupportedTypes = 0;  // as CheckSupportedTypes gives it
    PrinterState state;
    bool bStoppedNow = false;  // it can print there, but the printer reports it cannot now
    std::vector<IppRequestRoute> arrIpp;  // a printer reached by its URL: no port, its request
    std::wstring strIppRoad;  // the URL /print sends to over IPP by default; empty: the spooler
};

// Every value the document can write, by the README table row that lists it ("error",
// "route", "files", ...), for that table to be checked against.
struct JsonValueList {
    std::string strRow;
    std::vector<std::string> arrValues;
};
std::vector<JsonValueList> ScriptJsonValues();

class ScriptJson {
public:
    explicit ScriptJson(RunMode mode);
    ~ScriptJson();

    // Why the run did nothing, as "error": {"key": ...}.
    void UsageFault(const CommandLine& cmd);
    void LockedOption(const wchar_t* pszOption);
    void UnknownPrinter(const std::wstring& strPrinter);
    // The printer check of /print gave nSupportedTypes, which admits nothing (0, -1, -2);
    // a printer not reached safely has its own key.
    void PrinterCheckFault(int nSupportedTypes, const IppSafetyFacts& safety = {});
    void PrinterStopped(const PrinterState& state);
    // /via asked for a road the printer does not have.
    void NoRoad(PrintRoad road, const std::wstring& strPrinter);
    // A tray, bin, finishing or PIN the printer does not offer, with the values it does.
    void TicketRefused(const TicketRefusal& refusal, const std::wstring& strPrinter, const TicketOffer& offer);

    // One more entry of "printers".
    void AddProbe(const ProbeFacts& facts);
    // strIppUrl: the run went over IPP to it; empty: through the spooler.
    void PrintRun(const std::wstring& strPrinter, const std::vector<FileReport>& arrReports,
                  const PrinterRunReport& printer, const std::wstring& strIppUrl = {});

    // The document with the process's exit code, as UTF-8 on one line.
    std::string Text(int nExitCode) const;

private:
    std::unique_ptr<nlohmann::ordered_json> m_pDoc;
};

// A text as the document holds it: UTF-8, cleaned as the lines clean it.
std::string JsonTextOf(const std::wstring& strText);
