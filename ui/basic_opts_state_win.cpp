// Basic page: the chosen printer's state in the status line and indicator, read
// again on a worker while the sheet is idle, and at once with F5.
#include "ui/basic_opts_page.h"

#include "common/debug_log.h"
#include "resources/resource.h"
#include "ui/printer_check.h"
#include "ui/sheet_status.h"
#include "ui/state_indicator.h"

namespace {
constexpr UINT kStatePollMs = 5000;

struct PrinterStateRead {
    bool bAnswered = false;
    PrinterState state;
};

bool SameView(const StateView& a, const StateView& b)
{
    if (a.severity != b.severity || a.strLine != b.strLine || a.arrDetails != b.arrDetails ||
        a.supplies.size() != b.supplies.size())
        return false;
    for (size_t i = 0; i < a.supplies.size(); ++i)
        if (a.supplies[i].strName != b.supplies[i].strName || a.supplies[i].strLevel != b.supplies[i].strLevel)
            return false;
    return true;
}
}  // namespace

void CBasicOptsPage::ShowPrinterStateNow()
{
    // A printer that cannot be printed on says why, and what waits for another
    // one.
    if ((nSupportedTypes == -1 || nSupportedTypes == 0) && !IsCheckingPrinter())
        ShowStateView(GetSheet(), ViewOfCheck(nSupportedTypes, m_arrWaitingFiles.size(), m_bNotSnmp, m_strIppReason,
                                              IppSafetyText(m_safety, true), IppSafetyWhy(m_safety)));
    else if (m_stateView)
        ShowStateView(GetSheet(), WithCertificate(*m_stateView));
    else {
        SetSheetStateLine(GetSheet(), L"");
        HideStateIndicator(GetSheet());
    }
}

void CBasicOptsPage::ShowPrinterState(const PrinterState& state)
{
    if (m_stateTarget)
        m_stateView = ViewOfState(state);
    ShowPrinterStateNow();
}

void CBasicOptsPage::ArmStatePoll()
{
    if (m_stateTarget && nSupportedTypes > 0 && !m_bRunning && !IsCheckingPrinter())
        SetTimer(m_hWnd, kTimerStatePoll, kStatePollMs, nullptr);
    else
        KillTimer(m_hWnd, kTimerStatePoll);
}

void CBasicOptsPage::Recheck()
{
    if (m_bRunning || m_PrtControl.GetPrinterCount() <= 0)
        return;
    if (m_stateTarget && nSupportedTypes > 0)
        ReadStateNow();
    else if (!IsCheckingPrinter())
        StartPrinterCheck(0, true);
}

void CBasicOptsPage::ReadStateNow()
{
    if (!m_stateTarget || m_bRunning || IsCheckingPrinter() || m_stateWorker.IsBusy())
        return;
    m_stateWorker.SetWindow(m_hWnd);
    m_stateWorker.Start(
        [target = m_stateTarget](const CWorker::Link& link) {
            // A route of the worker's own: the check's one stays untouched for a run.
            auto pRead = std::make_unique<PrinterStateRead>();
            pRead->bAnswered = target->Copy()->ReadState(pRead->state, true) == 1;
            link.Post(kMsgStateRead, std::move(pRead));
        },
        [](const CWorker::Link& link) { link.Post(kMsgStateRead, std::make_unique<PrinterStateRead>()); });
}

void CBasicOptsPage::OnStateRead()
{
    const std::unique_ptr<PrinterStateRead> pRead = m_stateWorker.TakeReport<PrinterStateRead>(kMsgStateRead);
    if (!pRead)
        return;
    m_stateWorker.Finish();
    StateView view = pRead->bAnswered ? ViewOfState(pRead->state) : ViewOfCheck(-1, 0);
    if (pRead->bAnswered && view.severity == StateSeverity::Unknown)
        view.strLine.clear();
    // Only a change is news. A run's outcome keeps the line: the mark and its card change.
    if (m_stateView && SameView(*m_stateView, view))
        return;
    DebugLog(L"CBasicOptsPage::OnStateRead / %s", view.strLine.c_str());
    m_stateView = std::move(view);
    ShowPrinterStateNow();
}

void CBasicOptsPage::ShowStateAfterRun(const std::optional<PrinterState>& followed)
{
    if (followed && m_stateTarget)
        m_stateView = ViewOfState(*followed);
    // The run's outcome holds the line; the state shows in the mark and its card.
    if (m_stateView)
        ShowPrinterStateNow();
}
