// /probe, and the printer choice that /print shares with it.
#include "app/script/probe_every_printer.h"
#include "app/script/report/script_texts.h"
#include "app/script/script_runs.h"
#include "common/debug_log.h"
#include "common/printable_text.h"
#include "job/outcome/print_summary.h"
#include "printer/printer_probe.h"
#include "printer/state/printer_state_text.h"
#include "printer/state/ticket_names.h"

bool IsUrlPrinter(CPrtControl& prtControl, const CommandLine& cmd)
{
    // An installed printer of that very name is the one meant.
    return cmd.bPrinterGiven && !cmd.bPrinterTooLong && IsPrinterUrl(cmd.strPrinter) &&
           !prtControl.SelectPrinter(cmd.strPrinter);
}

int ChooseScriptPrinter(CPrtControl& prtControl, const CommandLine& cmd, const std::wstring& strPolicyPrinter,
                        ScriptOutput& out, ScriptJson& json)
{
    if (prtControl.GetPrinterCount() <= 0) {
        out.ErrorLine(PrinterCheckLine(-2));
        json.PrinterCheckFault(-2);
        return kExitPrinter;
    }
    if (!cmd.bPrinterGiven) {
        // The list made the default printer current; the policy's printer only when installed.
        if (!strPolicyPrinter.empty() && !prtControl.SelectPrinter(strPolicyPrinter))
            DebugLog(L"ChooseScriptPrinter : the policy's printer %s is not installed", strPolicyPrinter.c_str());
        return kExitDone;
    }
    if (!cmd.bPrinterTooLong && prtControl.SelectPrinter(cmd.strPrinter))
        return kExitDone;
    out.ErrorLine(UnknownPrinterLine(cmd.strPrinter));
    json.UnknownPrinter(cmd.strPrinter);
    return kExitPrinter;
}

namespace {
void ReportProbe(const ProbeFacts& facts, ScriptOutput& out, ScriptJson& json)
{
    for (const std::wstring& strLine : ProbeLines(facts.strPrinter, facts.route, facts.bObtained, facts.strDeviceID,
                                                  facts.nSupportedTypes, facts.bStoppedNow ? &facts.state : nullptr,
                                                  facts.arrIpp))
        out.Line(strLine);
    if (!facts.strIppRoad.empty() && facts.nSupportedTypes > 0)
        out.Line(PrintableText(RoadLine(facts.strIppRoad)));
    for (const std::wstring& strLine : ProbeStateLines(facts.route.kind, facts.state))
        out.Line(strLine);
    for (const std::wstring& strLine : TicketOfferLines(facts.state.offer))
        out.Line(PrintableText(strLine));
    json.AddProbe(facts);
}

int ProbeAllPrinters(ScriptOutput& out, ScriptJson& json)
{
    CPrtControl prtControl;
    if (prtControl.GetPrinterCount() <= 0) {
        out.ErrorLine(PrinterCheckLine(-2));
        json.PrinterCheckFault(-2);
        return kExitPrinter;
    }
    std::vector<int> arrSupportedTypes;
    for (const ProbeFacts& facts : ProbeEveryPrinter(prtControl)) {
        if (!arrSupportedTypes.empty())
            out.Line(L"");
        ReportProbe(facts, out, json);
        arrSupportedTypes.push_back(facts.nSupportedTypes);
    }
    return ExitCodeOfPrinterChecks(arrSupportedTypes);
}
}  // namespace

int RunScriptProbe(const CommandLine& cmd, const LumeoPolicies& policies, ScriptOutput& out, ScriptJson& json)
{
    if (cmd.bAll)
        return ProbeAllPrinters(out, json);
    CPrtControl prtControl;
    const bool bUrl = IsUrlPrinter(prtControl, cmd);
    if (!bUrl)
        if (const int nExit = ChooseScriptPrinter(prtControl, cmd, policies.strPrinter, out, json))
            return nExit;
    const PrinterProbe probe = bUrl ? ProbePrinterAtUrl(cmd.strPrinter) : ProbeCurrentPrinter(prtControl);
    const ProbeFacts facts = FactsOfProbe(bUrl ? cmd.strPrinter : prtControl.GetCurrentPrinterName(), probe);
    ReportProbe(facts, out, json);
    return facts.bStoppedNow ? kExitPrinterStopped
                             : ExitCodeOfPrinterCheck(probe.nSupportedTypes,
                                                      UnsafeOfRequests(facts.arrIpp, facts.route.arrIpp).safety);
}
