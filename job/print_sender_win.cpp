#include "job/print_sender.h"

#include <algorithm>
#include <memory>

#include "common/debug_log.h"
#include "common/internal_error.h"
#include "common/system_error.h"
#include "job/ipp/ipp_print_run.h"
#include "job/spooler/job_watch.h"
#include "job/spooler/printer_after_run.h"
#include "job/spooler/send_data_to_device.h"
#include "printer/queue/prt_control.h"
#include "printer/state/printer_state_text.h"

namespace {
unsigned long long SizeOnDisk(const std::wstring& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(strPath.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Tells the progress callback whenever the per-mille of the run changes.
class CRunProgress {
public:
    CRunProgress(const PrintRunInput& input, const std::function<void(const PrintRunProgress&)>& fnProgress)
        : m_fnProgress(fnProgress)
    {
        m_report.nFiles = input.arrFiles.size();
        // Each file's bytes count twice: copied into the spool file, then handed over. The
        // file itself counts one more, so a run of empty or missing files ends at 1000 too.
        for (const std::wstring& strPath : input.arrFiles) {
            m_arrUnits.push_back(2 * SizeOnDisk(strPath) + 1);
            m_nTotal += m_arrUnits.back();
        }
    }
    void StartFile(size_t nFile, const std::wstring& strPath)
    {
        m_report.nFile = nFile;
        m_report.strPath = strPath;
        m_report.strJobState.clear();
        m_report.nBusySecondsLeft = 0;
        m_nFileDone = 0;
        Tell();
    }
    void FileDone(unsigned long long nDone)
    {
        m_nFileDone = std::min(nDone, m_arrUnits[m_report.nFile]);
        const int nPermille = Permille();
        if (nPermille != m_report.nPermille)
            Tell();
    }
    void EndFile()
    {
        m_nBefore += m_arrUnits[m_report.nFile];
        m_nFileDone = 0;
    }
    void Waiting()
    {
        m_report.bWaiting = true;
        Tell();
    }
    void PrinterBusy(int nSecondsLeft)
    {
        if (nSecondsLeft == m_report.nBusySecondsLeft)
            return;
        m_report.nBusySecondsLeft = nSecondsLeft;
        Tell();
    }
    void JobState(const std::wstring& strJobState)
    {
        m_report.strJobState = strJobState;
        Tell();
    }
    void Following(const PrinterState& state, int nSecondsLeft)
    {
        m_report.bWaiting = false;
        m_report.bFollowing = true;
        m_report.printerState = state;
        m_report.nSecondsLeft = nSecondsLeft;
        Tell();
    }

private:
    int Permille() const
    {
        if (m_nTotal == 0)
            return 0;
        const unsigned long long nDone = std::min(m_nBefore + m_nFileDone, m_nTotal);
        return static_cast<int>(static_cast<double>(nDone) * 1000.0 / static_cast<double>(m_nTotal));
    }
    void Tell()
    {
        m_report.nPermille = Permille();
        if (m_fnProgress)
            m_fnProgress(m_report);
    }

    const std::function<void(const PrintRunProgress&)>& m_fnProgress;
    PrintRunProgress m_report;
    std::vector<unsigned long long> m_arrUnits;
    unsigned long long m_nTotal = 0;
    unsigned long long m_nBefore = 0;
    unsigned long long m_nFileDone = 0;
};
}  // namespace

namespace {
// The printer's state before the run, from the caller or read now; nullptr reader: the
// printer gives none. False when it reports a stop condition and nothing may be sent.
bool ReadStateBefore(const PrintRunInput& input, std::unique_ptr<PrinterRoute>& pReader, PrinterState& before)
{
    if (input.stateTarget)
        pReader = input.stateTarget->Copy();
    if (input.before) {
        before = *input.before;
        return true;
    }
    if (pReader && !pReader->ReadState(before))
        pReader.reset();  // a silent printer is not followed
    if (!HasStopCondition(before))
        return true;
    DebugLog(L"SendPrintFiles / the printer reports : %s", PrinterReportText(before).c_str());
    return false;
}

// Each file a job of its own at the printer's IPP URL, followed there and counted on its own.
void SendEachFileOverIpp(const PrintRunInput& input, const std::function<bool()>& fnStop, CRunProgress& progress,
                         PrintRunEnd& end)
{
    IppRunInput ipp;
    ipp.strUrl = input.strIppUrl;
    ipp.settings = input.job.settings;
    ipp.arrFiles = input.arrFiles;
    ipp.nWaitSeconds = input.nWaitSeconds;
    IppRunHooks hooks;
    hooks.fnFileStarts = [&](size_t nFile) { progress.StartFile(nFile, input.arrFiles[nFile]); };
    hooks.fnFileProgress = [&](unsigned long long nDone) { progress.FileDone(nDone); };
    hooks.fnFileEnds = [&](size_t) { progress.EndFile(); };
    hooks.fnJobState = [&](const std::wstring& strJobState) { progress.JobState(strJobState); };
    hooks.fnPrinterBusy = [&](int nSecondsLeft) { progress.PrinterBusy(nSecondsLeft); };
    const std::vector<IppFileEnd> arrEnds = SendFilesOverIpp(ipp, fnStop, hooks);
    end.arrPages.assign(arrEnds.size(), std::nullopt);
    for (size_t i = 0; i < arrEnds.size(); ++i) {
        end.arrOutcomes[i] = arrEnds[i].reason;
        if (arrEnds[i].reason.outcome == FileOutcome::Sent)
            end.arrPages[i] = arrEnds[i].nPages;
    }
    end.bCancelled = fnStop && fnStop();
    end.printer = OwnCountsReport(end.arrOutcomes, end.arrPages);
}

void SendEachFile(const PrintRunInput& input, const std::function<bool()>& fnStop,
                  const std::function<void(const PrintRunProgress&)>& fnProgress, PrintRunEnd& end)
{
    std::unique_ptr<PrinterRoute> pReader;
    PrinterState before;
    if (!ReadStateBefore(input, pReader, before)) {
        // Stopped while the state was read: nothing to ask about.
        end.bCancelled = fnStop && fnStop();
        if (!end.bCancelled)
            end.stoppedBefore = before;
        return;
    }
    if (!input.strIppUrl.empty()) {
        CRunProgress progress(input, fnProgress);
        SendEachFileOverIpp(input, fnStop, progress, end);
        return;
    }

    CPrtControl prtControl;
    const bool bInstalled = prtControl.SelectPrinter(input.strPrinter);
    if (!bInstalled)
        DebugLog(L"SendPrintFiles / printer gone : %s", input.strPrinter.c_str());

    // Nothing chosen is left out on the way: a choice the header cannot say refuses the files.
    if (const std::wstring strNotCarried = TicketNotCarried(input.job.settings.m_Ticket); !strNotCarried.empty()) {
        end.arrOutcomes.assign(input.arrFiles.size(), FileReason(FileOutcome::OptionNotTaken, strNotCarried));
        return;
    }
    CRunProgress progress(input, fnProgress);
    CJobWatch watch(input.strPrinter, input.nWaitSeconds);
    SendControl control;
    control.fnStopRequested = fnStop;
    control.fnProgress = [&progress](unsigned long long nDone) { progress.FileDone(nDone); };
    for (size_t i = 0; i < input.arrFiles.size(); ++i) {
        if (fnStop && fnStop())
            break;
        const std::wstring& strPath = input.arrFiles[i];
        DebugLog(L"OnPrint / SendDataToDevice : %s", strPath.c_str());
        progress.StartFile(i, strPath);
        SendResult result;
        result.reason = FileReason(FileOutcome::SpoolerRefused, SystemErrorText(ERROR_INVALID_PRINTER_NAME));
        if (bInstalled)
            result = SubmitFile(prtControl, strPath, input.job, control);
        end.arrOutcomes[i] = result.reason;
        if (result.reason.outcome == FileOutcome::Sent && result.nJobId)
            watch.Add(i, result.nJobId);
        progress.EndFile();
    }

    if (fnStop && fnStop()) {
        end.bCancelled = true;
        return;
    }
    progress.Waiting();
    watch.WaitAll(fnStop);
    for (const auto& [nFile, outcome] : watch.Outcomes())
        end.arrOutcomes[nFile] = outcome;
    end.bCancelled = fnStop && fnStop();

    // Once the jobs have left the queue, what the printer makes of them; a stop now ends
    // the following, not the jobs.
    const auto nSent = static_cast<size_t>(std::count_if(
        end.arrOutcomes.begin(), end.arrOutcomes.end(),
        [](const FileReason& reason) { return reason.outcome == FileOutcome::Sent; }));
    if (end.bCancelled || !pReader || nSent == 0 || input.nWaitSeconds == 0)
        return;
    const PrinterAfterRun after = FollowPrinterAfterRun(
        *pReader, before, MostPagesOfRun(input.job.settings, nSent), input.nWaitSeconds, fnStop,
        [&progress](const PrinterState& state, int nSecondsLeft) { progress.Following(state, nSecondsLeft); });
    end.printer = after.report;
    if (after.report.verdict == FollowVerdict::Trouble)
        for (FileReason& reason : end.arrOutcomes)
            if (reason.outcome == FileOutcome::Sent)
                reason = FileReason(FileOutcome::PrinterTrouble, PrinterReportText(after.last));
}
}  // namespace

PrintRunEnd SendPrintFiles(const PrintRunInput& input, const std::function<bool()>& fnStop,
                           const std::function<void(const PrintRunProgress&)>& fnProgress)
{
    PrintRunEnd end;
    end.arrOutcomes.assign(input.arrFiles.size(), FileOutcome::Cancelled);
    try {
        SendEachFile(input, fnStop, fnProgress, end);
    } catch (...) {
        // The file being sent had its job aborted and its spool file removed on the way
        // out; it and the files after it are not sent, and those before keep their outcome.
        LogInternalError(L"SendPrintFiles");
        for (FileReason& reason : end.arrOutcomes)
            if (reason.outcome == FileOutcome::Cancelled)
                reason = FileOutcome::InternalError;
    }
    return end;
}
