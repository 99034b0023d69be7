// The sheet's side of the print run: the pages behind PrintRunHost, the sending on a
// worker with its progress, Cancel and the summary, and the messages of the print job.
#include "app/sheet/main_sheet.h"

#include "common/debug_log.h"
#include "common/placeholders.h"
#include "common/printable_text.h"
#include "common/ui_text.h"
#include "job/outcome/job_messages.h"
#include "job/outcome/print_summary.h"
#include "job/print_run.h"
#include "job/print_sender.h"
#include "job/settings/param_mngr.h"
#include "job/spooler/pjl_envelope.h"
#include "printer/ipp/ipp_printer_route.h"
#include "printer/state/printer_state_text.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"
#include "ui/sheet_status.h"
#include "ui/state_indicator.h"

namespace {
// Failures listed one by one in the summary; the rest are counted.
constexpr size_t kSummaryFailureLines = 10;
// The system gives a program about five seconds to end its session.
constexpr DWORD kSessionEndWaitMs = 4000;

class CSheetPrintRun : public PrintRunHost {
public:
    explicit CSheetPrintRun(CMainPropertySheet& sheet) : m_sheet(sheet) {}

    void FocusSheet() override { SetFocus(m_sheet.m_hWnd); }
    bool IsBasicInitialized() const override { return m_sheet.m_pageBasic.m_bInitialized; }
    bool ExchangeBasic() override { return m_sheet.m_pageBasic.ExchangeBasic(DdxDirection::Save); }
    bool IsPrintRangeValid() override { return m_sheet.m_pageBasic.IsPrintRangeValid(); }
    void ResetCopies() override
    {
        GetParamMngr()->SetCopies(1);
        SetDlgItemTextW(m_sheet.m_pageBasic.m_hWnd, IDC_EDIT_COPIES, L"1");
    }
    void SetPageEditsToOne() override
    {
        SetDlgItemTextW(m_sheet.m_pageBasic.m_hWnd, IDC_EDIT_FROM, L"1");
        SetDlgItemTextW(m_sheet.m_pageBasic.m_hWnd, IDC_EDIT_TO, L"1");
    }
    bool IsAdvancedInitialized() const override { return m_sheet.m_pageAdvanced.m_bInitialized; }
    bool ExchangeAdvancedForPrint() override { return m_sheet.m_pageAdvanced.ExchangeAdvancedForPrint(); }
    bool ExchangeTicketForPrint() override
    {
        CFinishingPage& page = m_sheet.m_pageFinishing;
        // A PIN is typed on the page: one never opened is opened for it.
        if (page.NeedsPin() && !page.m_bInitialized)
            SendMessageW(m_sheet.m_hWnd, PSM_SETCURSEL, 2, 0);
        return page.ExchangeTicketForPrint(m_sheet.m_pageBasic.CurrentPrinterName());
    }
    std::vector<std::wstring> ListedPrintFiles() override
    {
        std::vector<std::wstring> arrFiles;
        m_sheet.m_pageBasic.CollectPrintFiles(arrFiles, 0);
        return arrFiles;
    }
    void StartSending(std::vector<std::wstring> arrFiles) override { m_sheet.StartSending(std::move(arrFiles)); }
    void ShowErrorMessage(int nKind) override { m_sheet.ShowErrorMessage(nKind); }

private:
    CMainPropertySheet& m_sheet;
};

std::wstring RunText(const wchar_t* key, const wchar_t* defaultText)
{
    return GetUIText(kPrintRunSection, key, defaultText);
}

std::wstring ProgressText(const PrintRunProgress& progress)
{
    if (progress.bFollowing)
        return FillPlaceholders(RunText(L"IDL_STATUS_FOLLOWING", L"Following the printer, {2} s left: {1}"),
                                {PrinterStateLine(progress.printerState), std::to_wstring(progress.nSecondsLeft)});
    if (progress.bWaiting)
        return RunText(L"IDL_STATUS_WAITING", L"Waiting for the print queue\x2026");
    if (progress.nBusySecondsLeft > 0)
        return BusyWaitLine(progress.nBusySecondsLeft);
    if (!progress.strJobState.empty())
        return FillPlaceholders(RunText(L"IDL_STATUS_JOB", L"File {1} of {2} at the printer: {3}"),
                                {std::to_wstring(progress.nFile + 1), std::to_wstring(progress.nFiles),
                                 PrintableText(progress.strJobState)});
    return FillPlaceholders(RunText(L"IDL_STATUS_PRINTING", L"File {1} of {2}: {3}"),
                            {std::to_wstring(progress.nFile + 1), std::to_wstring(progress.nFiles),
                             FileNameOfPath(progress.strPath)});
}
}  // namespace

LRESULT CMainPropertySheet::OnPrint()
{
    // No printer that takes the files, an answer still awaited, or a run going on:
    // Print is disabled, and nothing else (Enter in a control, a posted command) may
    // start a run.
    if (IsPrinting() || !m_pageBasic.IsReadyToPrint()) {
        DebugLog(L"CMainPropertySheet::OnPrint / nSupportedTypes : %d / refused", m_pageBasic.nSupportedTypes);
        MessageBeep(0xFFFFFFFF);
        return 0;
    }
    CSheetPrintRun host(*this);
    RunPrint(host);
    m_pageBasic.RefreshPreview();
    return 0;
}

void CMainPropertySheet::StartSending(std::vector<std::wstring> arrFiles, std::optional<PrinterState> before)
{
    PrintRunInput input;
    input.strPrinter = m_pageBasic.CurrentPrinterName();
    input.job = SnapshotJob();
    input.arrFiles = arrFiles;
    input.stateTarget = m_pageBasic.StateTarget();
    input.before = std::move(before);
    // A printer heard over IPP takes the files there, each a job of its own.
    input.strIppUrl = IppUrlOfRoute(input.stateTarget.get());
    m_strRunIppUrl = input.strIppUrl;
    m_arrRunFiles = std::move(arrFiles);
    m_strRunPrinter = input.strPrinter;
    m_bCloseAfterRun = false;
    m_lastFollowed.reset();
    m_runWorker.SetWindow(m_hWnd);
    const size_t nFiles = input.arrFiles.size();
    const bool bStarted = m_runWorker.Start(
        [input](const CWorker::Link& link) {
            const auto fnStop = [&link] { return link.StopRequested(); };
            const auto fnProgress = [&link](const PrintRunProgress& progress) {
                link.Post(kMsgRunProgress, std::make_unique<PrintRunProgress>(progress));
            };
            link.Post(kMsgRunEnded, std::make_unique<PrintRunEnd>(SendPrintFiles(input, fnStop, fnProgress)));
        },
        [nFiles](const CWorker::Link& link) {
            auto pEnd = std::make_unique<PrintRunEnd>();
            pEnd->arrOutcomes.assign(nFiles, FileOutcome::InternalError);
            link.Post(kMsgRunEnded, std::move(pEnd));
        });
    if (!bStarted) {
        ShowErrorMessage(kMsgPrintFailed);
        return;
    }
    ShowRunState(true);
}

void CMainPropertySheet::ShowRunState(bool bRunning)
{
    if (bRunning)
        m_hFocusBeforeRun = GetFocus();
    m_pageBasic.SetRunning(bRunning);
    m_pageAdvanced.LockForRun(bRunning);
    m_pageFinishing.LockForRun(bRunning);
    // The keyboard stays useful: during the run Cancel has the focus (Enter, Space and
    // Escape stop it); afterwards the control that had it before, or Print.
    HWND hFocus = bRunning ? GetDlgItem(IDCANCEL) : m_hFocusBeforeRun;
    if (!bRunning && !(hFocus && IsChild(m_hWnd, hFocus) && IsWindowEnabled(hFocus) && IsWindowVisible(hFocus)))
        hFocus = IsWindowEnabled(GetDlgItem(IDOK)) ? GetDlgItem(IDOK) : GetDlgItem(IDCANCEL);
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hFocus), TRUE);
    if (bRunning) {
        EnableWindow(GetDlgItem(IDOK), FALSE);
        PrintRunProgress first;
        first.nFiles = m_arrRunFiles.size();
        first.strPath = m_arrRunFiles.empty() ? std::wstring() : m_arrRunFiles.front();
        SetSheetStatus(m_hWnd, ProgressText(first));
        SetSheetProgress(m_hWnd, 0);
    } else {
        SetSheetProgress(m_hWnd, -1);
    }
}

void CMainPropertySheet::OnRunProgress()
{
    const std::unique_ptr<PrintRunProgress> pProgress = m_runWorker.TakeReport<PrintRunProgress>(kMsgRunProgress);
    if (!pProgress)
        return;
    // Once a stop was asked for, the status says so until the run has ended.
    if (!m_bStopping)
        SetSheetStatus(m_hWnd, ProgressText(*pProgress));
    if (pProgress->bFollowing) {
        m_lastFollowed = pProgress->printerState;
        ShowStateSeverity(m_hWnd, SeverityOf(pProgress->printerState));
    }
    SetSheetProgress(m_hWnd, pProgress->nPermille);
}

void CMainPropertySheet::OnRunEnded()
{
    const std::unique_ptr<PrintRunEnd> pEnd = m_runWorker.TakeReport<PrintRunEnd>(kMsgRunEnded);
    if (!pEnd)
        return;
    m_runWorker.Finish();
    m_bStopping = false;
    if (pEnd->stoppedBefore && !m_bCloseAfterRun) {
        ShowRunState(false);
        AskSendAnyway(*pEnd->stoppedBefore);
        return;
    }
    std::vector<bool> arrSent;
    for (const FileReason& reason : pEnd->arrOutcomes)
        arrSent.push_back(PrinterHasTheJob(reason));
    m_pageBasic.RemovePrintedFiles(arrSent);
    ShowRunState(false);
    m_pageBasic.RefreshPreview();

    const PrintRunSummary summary = SummarizePrintRun(m_strRunPrinter, m_arrRunFiles, pEnd->arrOutcomes,
                                                      pEnd->bCancelled, pEnd->printer, pEnd->arrPages);
    DebugLog(L"CMainPropertySheet::OnRunEnded / %s %s", summary.strHeadline.c_str(), summary.strPrinterLine.c_str());
    for (const std::wstring& strFailure : summary.arrFailures)
        DebugLog(L"CMainPropertySheet::OnRunEnded / %s", strFailure.c_str());
    // What the printer did is the news, when it told; a run over IPP says so.
    std::wstring strStatus = summary.strPrinterLine.empty() ? summary.strHeadline : summary.strPrinterLine;
    if (!m_strRunIppUrl.empty())
        strStatus += L" " + RoadLine(m_strRunIppUrl);
    SetSheetOutcome(m_hWnd, strStatus);
    m_pageBasic.ShowStateAfterRun(m_lastFollowed);
    // The user asked to close and the run has ended meanwhile: the question is answered.
    if (m_pCloseQuestion) {
        m_bCloseAfterRun = true;
        m_pCloseQuestion->EndDialog(IDCANCEL);
    }
    if (m_bCloseAfterRun) {
        PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return;
    }
    // All sent: the status line says so. Anything else is worth a message.
    if (!summary.arrFailures.empty() || summary.bCancelled) {
        CMessageDialog dialog(SummaryMessageText(summary, kSummaryFailureLines), JobMessageCaption(),
                              summary.arrFailures.empty() ? IDI_INFORMATION : IDI_EXCLAMATION);
        dialog.ShowModal(m_hWnd);
    }
}

void CMainPropertySheet::AskSendAnyway(const PrinterState& before)
{
    m_pageBasic.ShowPrinterState(before);
    const std::wstring strText =
        FillPlaceholders(RunText(L"IDL_QUESTION_PRINTERREPORTS", L"The printer reports: {1}"),
                         {PrinterReportText(before)}) +
        L"\r\n" + RunText(L"IDL_QUESTION_SENDANYWAY", L"Send anyway?");
    CQuestionDialog question(strText, JobMessageCaption(), /*bDefaultNo=*/true);
    const bool bSend = question.ShowModal(m_hWnd) == IDOK;
    DebugLog(L"CMainPropertySheet::AskSendAnyway / %s", bSend ? L"send" : L"do not send");
    if (bSend && !IsPrinting())
        StartSending(m_arrRunFiles, before);
}

bool CMainPropertySheet::OnCancelDuringRun()
{
    if (!IsPrinting())
        return false;
    DebugLog(L"CMainPropertySheet / Cancel during the run");
    m_runWorker.RequestStop();
    m_bStopping = true;
    SetSheetStatus(m_hWnd, RunText(L"IDL_STATUS_STOPPING", L"Stopping\x2026"));
    return true;
}

void CMainPropertySheet::OnSessionEnd()
{
    if (!OnCancelDuringRun())
        return;
    if (!m_runWorker.WaitForJob(kSessionEndWaitMs))
        DebugLog(L"CMainPropertySheet / the run did not stop before the session ended");
}

bool CMainPropertySheet::OnCloseDuringRun()
{
    if (!IsPrinting())
        return false;
    CQuestionDialog question(RunText(L"IDL_QUESTION_STOPCLOSE", L"Stop printing and close?"), JobMessageCaption());
    m_pCloseQuestion = &question;
    const INT_PTR nAnswer = question.ShowModal(m_hWnd);
    m_pCloseQuestion = nullptr;
    // A run that ended while the question was open has posted the close already.
    if (nAnswer == IDOK && IsPrinting()) {
        m_bCloseAfterRun = true;
        OnCancelDuringRun();
    }
    return true;
}

void CMainPropertySheet::ShowErrorMessage(int nKind)
{
    DebugLog(L"CMainPropertySheet::ShowErrorMessage : %d", nKind);
    CMessageDialog dialog(JobMessageText(nKind), JobMessageCaption(), IDI_HAND);
    dialog.ShowModal(m_hWnd);
}
