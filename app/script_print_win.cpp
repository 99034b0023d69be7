// /print: every file of the command line to the printer, as the sheet sends it: the same
// printer check, the same admission rule and the same job.
#include <functional>

#include "app/script_runs.h"
#include "app/script_texts.h"
#include "common/debug_log.h"
#include "files/admission.h"
#include "files/name_pattern.h"
#include "files/shell_files.h"
#include "job/job_messages.h"
#include "job/param_mngr.h"
#include "job/send_data_to_device.h"
#include "ui/printer_check.h"

namespace {
std::wstring FileNamePart(const std::wstring& strPath)
{
    const size_t nSlash = strPath.find_last_of(L"\\/");
    return nSlash == std::wstring::npos ? strPath : strPath.substr(nSlash + 1);
}

class ScriptPrintRun {
public:
    ScriptPrintRun(CPrtControl& prtControl, int nSupportedTypes, JobFollowUp& followUp, int nWaitSeconds)
        : m_prtControl(prtControl), m_nSupportedTypes(nSupportedTypes), m_followUp(followUp),
          m_nWaitSeconds(nWaitSeconds)
    {
        // The job's messages become the file's outcome; none may open a window.
        SetJobMessageHandler([this](int nKind) { m_nLastMessage = nKind; });
    }
    ~ScriptPrintRun() { SetJobMessageHandler(nullptr); }
    ScriptPrintRun(const ScriptPrintRun&) = delete;
    ScriptPrintRun& operator=(const ScriptPrintRun&) = delete;

    FileReport PrintFile(const std::wstring& strPath)
    {
        FileReport report{strPath};
        const std::wstring strTarget = ResolveShortcut(strPath);
        const std::wstring strFile = strTarget.empty() ? strPath : strTarget;
        if (!ValidatePathname(strFile, m_nSupportedTypes))
            return report;  // refused
        m_nLastMessage = 0;
        if (!SendDataToDevice(m_prtControl, strFile)) {
            report.outcome = FileOutcome::Unreadable;
            return report;
        }
        if (m_nLastMessage == kMsgPrintFailed) {
            report.outcome = FileOutcome::Failed;
            report.strReason = JobMessageText(kMsgPrintFailed);
            return report;
        }
        // The spooler took the job whole; what becomes of it there decides.
        const SubmittedJob job{CurrentPrinterName(m_prtControl), L"KVQ_" + FileNamePart(strFile)};
        const JobFollowUpResult result = m_followUp.Follow(job, m_nWaitSeconds);
        report.outcome = result.bSent ? FileOutcome::Sent : FileOutcome::Failed;
        report.strReason = result.strReason;
        return report;
    }

private:
    CPrtControl& m_prtControl;
    int m_nSupportedTypes;
    JobFollowUp& m_followUp;
    int m_nWaitSeconds;
    int m_nLastMessage = 0;
};

int PrintFiles(const CommandLine& cmd, ScriptOutput& out, JobFollowUp& followUp)
{
    CPrtControl prtControl;
    if (const int nExit = ChooseScriptPrinter(prtControl, cmd, out))
        return nExit;
    const int nSupportedTypes = CheckSupportedTypes(prtControl);
    if (const int nExit = ExitCodeOfPrinterCheck(nSupportedTypes)) {
        out.ErrorLine(PrinterCheckLine(nSupportedTypes));
        return nExit;
    }
    std::vector<FileReport> arrReports;
    auto Report = [&](FileReport report) {
        out.Line(FileLine(report));
        arrReports.push_back(std::move(report));
    };
    ScriptPrintRun run(prtControl, nSupportedTypes, followUp, cmd.nWaitSeconds);
    for (const CmdFile& file : cmd.arrFiles) {
        if (file.bTooLong) {
            Report({file.strShown, FileOutcome::Unreadable});
        } else if (HasNamePattern(file.strPath)) {
            const std::vector<std::wstring> arrPaths = ExpandNamePattern(file.strPath);
            if (arrPaths.empty())
                Report({file.strShown, FileOutcome::Refused});
            for (const std::wstring& strPath : arrPaths)
                Report(run.PrintFile(strPath));
        } else {
            Report(run.PrintFile(file.strPath));
        }
    }
    out.Line(SummaryLine(arrReports, CurrentPrinterName(prtControl)));
    return ExitCodeOfFiles(arrReports);
}
}  // namespace

int RunScriptPrint(const CommandLine& cmd, ScriptOutput& out, JobFollowUp& followUp)
{
    CParamMngr* pMngr = CreateParamMngr();
    if (!pMngr)
        return kExitSpooler;
    // The sheet's defaults, and the options of the command line over them.
    pMngr->SetAdvancedDefaults();
    pMngr->SetBasicDefaults();
    pMngr->ApplyBasicOptions(cmd.options);
    pMngr->ApplyAdvancedOptions(cmd.options);
    const int nExit = PrintFiles(cmd, out, followUp);
    DestroyParamMngr();
    DebugLog(L"RunScriptPrint : %d", nExit);
    return nExit;
}
