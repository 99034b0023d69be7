#include "job/print_run.h"

#include "common/debug_log.h"
#include "job/outcome/job_messages.h"
#include "job/settings/param_mngr.h"

namespace {
constexpr int kMinPage = 1;
constexpr int kMaxPage = 9999;
constexpr int kMinCopies = 1;
constexpr int kMaxCopies = 99;

bool IsPageInRange(int nPage) { return nPage >= kMinPage && nPage <= kMaxPage; }
}  // namespace

PrintRunResult RunPrint(PrintRunHost& host)
{
    DebugLog(L"OnPrint");
    host.FocusSheet();
    CParamMngr* pMngr = GetParamMngr();
    JobSettings& js = pMngr->m_JobSettings;

    host.ExchangeBasic();
    bool bValid = true;
    if (host.IsBasicInitialized()) {
        // An empty copies edit stops the reading before the range; it prints one copy.
        if (js.m_nCopies < kMinCopies || js.m_nCopies > kMaxCopies)
            host.ResetCopies();
        bValid = host.IsPrintRangeValid();
        // A bound the edits cannot repair (0, or no number) is no range to print:
        // the run stops here instead of printing every page.
        if (!IsPageInRange(js.m_nFromPage) || !IsPageInRange(js.m_nToPage))
            bValid = false;
    }
    if (!bValid) {
        DebugLog(L"OnPrint / Invalid print range : %d - %d", js.m_nFromPage, js.m_nToPage);
        host.ShowErrorMessage(kMsgInvalidPrintRange);
        pMngr->SetPageRange(1, 1);
        host.SetPageEditsToOne();
        return PrintRunResult::InvalidRange;
    }

    if (host.IsAdvancedInitialized() && !host.ExchangeAdvancedForPrint()) {
        DebugLog(L"OnPrint / zoom out of range");
        return PrintRunResult::InvalidZoom;
    }
    if (!host.ExchangeTicketForPrint()) {
        DebugLog(L"OnPrint / ticket refused");
        return PrintRunResult::InvalidTicket;
    }

    std::vector<std::wstring> arrFiles = host.ListedPrintFiles();
    if (arrFiles.empty()) {
        DebugLog(L"OnPrint / No files");
        host.ShowErrorMessage(kMsgNoFiles);
        return PrintRunResult::NoFiles;
    }
    host.StartSending(std::move(arrFiles));
    return PrintRunResult::Printed;
}
