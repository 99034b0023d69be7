// /print: every file of the command line to the printer, as the sheet sends it: the same
// printer check and state read, the same admission rule, the same job, and the same
// follow-up of the jobs in the spooler and of the printer.
#include <algorithm>
#include <optional>

#include "app/script/report/script_texts.h"
#include "app/script/script_pin.h"
#include "app/script/script_runs.h"
#include "app/script/script_stop.h"
#include "common/debug_log.h"
#include "common/placeholders.h"
#include "common/ui_text.h"
#include "files/admission.h"
#include "files/name_pattern.h"
#include "files/shell_files.h"
#include "job/ipp/ipp_print_run.h"
#include "job/outcome/print_summary.h"
#include "job/print_sender.h"
#include "job/settings/param_mngr.h"
#include "job/settings/ticket_choice.h"
#include "job/spooler/pjl_envelope.h"
#include "printer/check_supported_types.h"
#include "printer/ipp/ipp_printer_route.h"
#include "printer/state/supported_types.h"

namespace {
// The files of the command line, each with its report; those the printer admits are sent
// later, in the same order, and their reports filled in from the run's outcomes.
class ScriptFileList {
public:
    explicit ScriptFileList(int nSupportedTypes) : m_nSupportedTypes(nSupportedTypes) {}

    void Add(const CmdFile& file)
    {
        if (file.bTooLong) {
            m_arrReports.push_back({file.strShown, FileOutcome::PathTooLong, false, std::nullopt});
        } else if (HasNamePattern(file.strPath)) {
            const std::vector<std::wstring> arrPaths = ExpandNamePattern(file.strPath);
            if (arrPaths.empty())
                m_arrReports.push_back({file.strShown, FileOutcome::NotFound, false, std::nullopt});
            // A match in a folder is taken as it is: a shortcut dropped there must not
            // lead to any file or host of its maker's choice.
            for (const std::wstring& strPath : arrPaths)
                Admit(strPath, strPath);
        } else {
            Admit(file.strPath, ResolvedPath(file.strPath));
        }
    }
    const std::vector<std::wstring>& AdmittedFiles() const { return m_arrAdmitted; }
    // arrOutcomes[i] belongs to AdmittedFiles()[i].
    std::vector<FileReport> Reports(const std::vector<FileReason>& arrOutcomes,
                                    const std::vector<std::optional<uint32_t>>& arrPages = {}) const
    {
        std::vector<FileReport> arrReports = m_arrReports;
        for (size_t i = 0; i < m_arrSlots.size(); ++i) {
            arrReports[m_arrSlots[i]].reason = i < arrOutcomes.size() ? arrOutcomes[i] : FileOutcome::Cancelled;
            if (i < arrPages.size())
                arrReports[m_arrSlots[i]].nPages = arrPages[i];
        }
        return arrReports;
    }

private:
    // strFile: what strPath stands for; a shortcut named on the command line stands for
    // its target, as in the sheet.
    void Admit(const std::wstring& strPath, const std::wstring& strFile)
    {
        FileReason reason;
        const bool bAdmitted = ValidatePathname(strFile, m_nSupportedTypes, &reason);
        if (bAdmitted) {
            m_arrSlots.push_back(m_arrReports.size());
            m_arrAdmitted.push_back(strFile);
        }
        m_arrReports.push_back({strPath, reason, bAdmitted, std::nullopt});
    }

    int m_nSupportedTypes;
    std::vector<FileReport> m_arrReports;
    std::vector<std::wstring> m_arrAdmitted;
    std::vector<size_t> m_arrSlots;  // the report of each admitted file
};

// The capability check of a printer reached by its URL alone; the route that answered is
// where its state is read.
int CheckUrlPrinter(const std::wstring& strUrl, DeviceIdRoute& route)
{
    auto ipp = std::make_shared<IppPrinterRoute>(strUrl);
    std::wstring strDeviceID;
    const int nResult = ipp->ReadDeviceID(strDeviceID);
    route.arrIpp.push_back(ipp->Request());
    if (nResult == 1)
        route.answered = ipp;
    return SupportedTypesOfLookup(nResult, false, strDeviceID);
}

// The run's lines: each file, the headline, what the printer told, the causes counted, and
// the road when the printer had two to choose from.
struct RunRoad {
    std::wstring strIppUrl;  // empty: through the spooler
    bool bSay = false;
};

int ReportRun(const std::vector<FileReport>& arrReports, const std::wstring& strPrinter,
              const PrinterRunReport& printer, const std::vector<std::wstring>& arrPrinterLines, const RunRoad& road,
              ScriptOutput& out, ScriptJson& json)
{
    for (const FileReport& report : arrReports)
        out.Line(FileLine(report));
    out.Line(SummaryLine(arrReports, strPrinter));
    for (const std::wstring& strLine : arrPrinterLines)
        if (!strLine.empty())
            out.Line(strLine);
    for (const std::wstring& strLine : ReasonCountLines(arrReports))
        out.Line(strLine);
    if (road.bSay)
        out.Line(RoadLine(road.strIppUrl));
    json.PrintRun(strPrinter, arrReports, printer, road.strIppUrl);
    return ExitCodeOfFiles(arrReports);
}

// The road of a run: over IPP to a printer heard over IPP or reached by its URL, unless
// /via spooler chose the queue; /via asking for a road the printer lacks is refused.
std::optional<RunRoad> ChooseRoad(const CommandLine& cmd, bool bUrl, const DeviceIdRoute& route, ScriptOutput& out,
                                  ScriptJson& json)
{
    const std::wstring strIppUrl = bUrl ? cmd.strPrinter : IppUrlOfRoute(route.answered.get());
    if ((cmd.road == PrintRoad::Ipp && strIppUrl.empty()) || (cmd.road == PrintRoad::Spooler && bUrl)) {
        out.ErrorLine(NoRoadLine(cmd.road, cmd.strPrinter));
        json.NoRoad(cmd.road, cmd.strPrinter);
        return std::nullopt;
    }
    RunRoad road;
    road.bSay = !strIppUrl.empty();
    if (cmd.road != PrintRoad::Spooler)
        road.strIppUrl = strIppUrl;
    return road;
}

// The tray, bin, finishing and PIN of the command line and the policies, as the printer
// offers them on the run's road, into the job; 1 with the reason when it does not.
int ChooseTicket(const CommandLine& cmd, const TicketOffer& offer, const std::wstring& strPrinter, ScriptOutput& out,
                 ScriptJson& json)
{
    CParamMngr* pMngr = GetParamMngr();
    JobSettings& js = pMngr->m_JobSettings;
    const TicketRefusal refusal =
        TicketOfOptions(cmd.options, pMngr->m_Policy, offer, js.m_nPaperSize, pMngr->PaperSizes()[js.m_nPaperSize],
                        ReadScriptPin, js.m_Ticket);
    if (!refusal)
        return kExitDone;
    out.ErrorLine(FillPlaceholders(GetUIText(L"UI_SHEET", L"IDL_LABELLED", L"{1}: {2}"),
                                   {refusal.strOption, TicketRefusalText(refusal, strPrinter)}));
    json.TicketRefused(refusal, strPrinter, offer);
    return kExitUsage;
}

// Each file a job of its own over IPP, followed there, and counted on its own.
int PrintOverIpp(const CommandLine& cmd, const std::wstring& strPrinter, const ScriptFileList& list,
                 const RunRoad& road, ScriptOutput& out, ScriptJson& json)
{
    IppRunInput input;
    input.strUrl = road.strIppUrl;
    input.settings = SnapshotJob().settings;
    input.arrFiles = list.AdmittedFiles();
    input.nWaitSeconds = static_cast<uint32_t>(cmd.nWaitSeconds);
    // A printer busy with another job is said once each time it makes the file wait.
    IppRunHooks hooks;
    bool bToldBusy = false;
    hooks.fnPrinterBusy = [&](int nSecondsLeft) {
        if (nSecondsLeft > 0 && !bToldBusy)
            out.Line(BusyWaitLine(nSecondsLeft));
        bToldBusy = nSecondsLeft > 0;
    };
    const std::vector<IppFileEnd> arrEnds = SendFilesOverIpp(input, ScriptStopRequested, hooks);
    ScriptRunEnded();
    std::vector<FileReason> arrOutcomes;
    std::vector<std::optional<uint32_t>> arrPages;
    for (const IppFileEnd& end : arrEnds) {
        arrOutcomes.push_back(end.reason);
        arrPages.push_back(end.reason.outcome == FileOutcome::Sent ? end.nPages : std::nullopt);
    }
    const PrinterRunReport printer = OwnCountsReport(arrOutcomes, arrPages);
    const PrintRunSummary summary = SummarizePrintRun(strPrinter, input.arrFiles, arrOutcomes, false, printer, arrPages);
    std::vector<std::wstring> arrLines = summary.arrPrinted;
    arrLines.push_back(summary.strPrinterLine);
    return ReportRun(list.Reports(arrOutcomes, arrPages), strPrinter, printer, arrLines, road, out, json);
}

int PrintFiles(const CommandLine& cmd, const std::wstring& strPolicyPrinter, ScriptOutput& out, ScriptJson& json)
{
    CPrtControl prtControl;
    const bool bUrl = IsUrlPrinter(prtControl, cmd);
    if (!bUrl)
        if (const int nExit = ChooseScriptPrinter(prtControl, cmd, strPolicyPrinter, out, json))
            return nExit;
    ListenForScriptStop();
    DeviceIdRoute route;
    const int nSupportedTypes = bUrl ? CheckUrlPrinter(cmd.strPrinter, route) : CheckSupportedTypes(prtControl, route);
    const IppSafetyFacts safety = UnsafeOfRequests(route.arrIpp);
    if (const int nExit = ExitCodeOfPrinterCheck(nSupportedTypes, safety.safety)) {
        out.ErrorLine(PrinterCheckLine(nSupportedTypes, route.kind, safety));
        json.PrinterCheckFault(nSupportedTypes, safety);
        return nExit;
    }
    const std::optional<RunRoad> road = ChooseRoad(cmd, bUrl, route, out, json);
    if (!road)
        return kExitUsage;
    // The printer's state before anything is sent: a stop condition ends the run here,
    // for a script to try again later; a warning does not. A ticket asked for reads what
    // the printer offers with it, and is checked first: a bad value is the script's fault.
    PrintRunInput input;
    PrinterState before;
    const bool bTicket = AsksForTicket(cmd.options, GetParamMngr()->m_Policy);
    const bool bAnswered = route.answered && route.answered->ReadState(before, bTicket);
    if (bTicket) {
        const TicketRoad ticketRoad = road->strIppUrl.empty() ? TicketRoad::Spooler : TicketRoad::Ipp;
        if (const int nExit = ChooseTicket(cmd, OfferOnRoad(before.offer, ticketRoad),
                                           bUrl ? cmd.strPrinter : prtControl.GetCurrentPrinterName(), out, json))
            return nExit;
    }
    if (bAnswered) {
        if (HasStopCondition(before)) {
            out.ErrorLine(PrinterStoppedLine(before));
            json.PrinterStopped(before);
            return kExitPrinterStopped;
        }
        input.stateTarget = route.answered->Copy();
        input.before = before;
    }
    ScriptFileList list(nSupportedTypes);
    for (const CmdFile& file : cmd.arrFiles)
        list.Add(file);
    if (!road->strIppUrl.empty())
        return PrintOverIpp(cmd, bUrl ? cmd.strPrinter : prtControl.GetCurrentPrinterName(), list, *road, out, json);

    input.strPrinter = prtControl.GetCurrentPrinterName();
    input.job = SnapshotJob();
    input.arrFiles = list.AdmittedFiles();
    input.nWaitSeconds = static_cast<DWORD>(cmd.nWaitSeconds);
    const PrintRunEnd end = SendPrintFiles(input, ScriptStopRequested, nullptr);
    ScriptRunEnded();

    const std::vector<FileReport> arrReports = list.Reports(end.arrOutcomes);
    const auto nSent = static_cast<size_t>(
        std::count_if(arrReports.begin(), arrReports.end(), [](const FileReport& r) { return WasSent(r.reason); }));
    return ReportRun(arrReports, input.strPrinter, end.printer, {PrinterRunLine(end.printer, nSent)}, *road, out,
                     json);
}
}  // namespace

int RunScriptPrint(const CommandLine& cmd, const LumeoPolicies& policies, ScriptOutput& out, ScriptJson& json)
{
    CParamMngr* pMngr = CreateParamMngr();
    if (!pMngr)
        return kExitSpooler;
    // The sheet's defaults with the policies', and the options of the command line over them.
    pMngr->m_Policy = policies.job;
    pMngr->SetAdvancedDefaults();
    pMngr->SetBasicDefaults();
    pMngr->ApplyBasicOptions(cmd.options);
    pMngr->ApplyAdvancedOptions(cmd.options);
    const int nExit = PrintFiles(cmd, policies.strPrinter, out, json);
    DestroyParamMngr();
    DebugLog(L"RunScriptPrint : %d", nExit);
    return nExit;
}
