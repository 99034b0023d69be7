// Basic page: data exchange with JobSettings and the repairs of the number edits.
#include "ui/basic_opts_page.h"

#include <algorithm>

#include "common/debug_log.h"
#include "files/file_list.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"

bool CBasicOptsPage::ExchangeBasic(DdxDirection dir)
{
    JobSettings& js = GetParamMngr()->m_JobSettings;
    HWND h = m_hWnd;
    return DDX_Radio(h, IDC_RADIO_PRINTRANGE_ALL, js.m_nPrintRange, dir) &&
           DDX_Radio(h, IDC_RADIO_ORIENTATION_PORTRAIT, js.m_nOrientation, dir) &&
           DDX_Int(h, IDC_EDIT_COPIES, js.m_nCopies, dir) &&
           DDX_IntRange(h, IDC_EDIT_COPIES, js.m_nCopies, dir, 1, 99) &&
           DDX_IntRange(h, IDC_EDIT_FROM, js.m_nFromPage, dir, 1, 9999) &&
           DDX_IntRange(h, IDC_EDIT_TO, js.m_nToPage, dir, 1, 9999) &&
           DDX_Int(h, IDC_EDIT_FROM, js.m_nFromPage, dir) && DDX_Int(h, IDC_EDIT_TO, js.m_nToPage, dir);
}

void CBasicOptsPage::OnDataValidateError(HWND hDlg, int nId)
{
    if (nId != IDC_EDIT_COPIES)
        return;
    SetDlgItemTextW(hDlg, IDC_EDIT_COPIES, L"1");
    SetFocus(::GetDlgItem(hDlg, IDC_EDIT_COPIES));
    m_editCopies.ShowRangeTip();
}

bool CBasicOptsPage::IsPrintRangeValid()
{
    if (!m_bInitialized)
        return true;
    bool bValid = true;
    if (ExchangeBasic(DdxDirection::Save)) {
        const JobSettings& js = GetParamMngr()->m_JobSettings;
        bValid = js.m_nToPage >= js.m_nFromPage;
    }
    RefreshPreview();
    return bValid;
}

int CBasicOptsPage::CollectPrintFiles(std::vector<std::wstring>& arrFiles, int bTakeAll)
{
    ExchangeBasic(DdxDirection::Save);
    if (!m_hList || FileCount() == 0)
        return 0;
    return CollectFileEntries(m_hList, arrFiles, bTakeAll == 1);
}

void CBasicOptsPage::RemovePrintedFiles(const std::vector<bool>& arrSent)
{
    const int nCount = std::min(FileCount(), static_cast<int>(arrSent.size()));
    for (int nIndex = nCount - 1; nIndex >= 0; --nIndex)
        if (arrSent[static_cast<size_t>(nIndex)])
            ListView_DeleteItem(m_hList, nIndex);
}

void CBasicOptsPage::SetRunning(bool bRunning)
{
    LockForRun(bRunning);
    // The run reads the printer itself: the page does not meanwhile.
    m_bRunning = bRunning;
    if (bRunning) {
        KillTimer(m_hWnd, kTimerStatePoll);
        m_stateWorker.Finish();
    } else {
        // What the run left the printer in is asked at once.
        ArmStatePoll();
        ReadStateNow();
        EnableRemoveForEntries(FileCount());
        ShowPrintButton(IsReadyToPrint());
    }
}

void CBasicOptsPage::OnChangeEdit()
{
    if (m_bInitialized && ExchangeBasic(DdxDirection::Save))
        RefreshPreview();
}

void CBasicOptsPage::OnKillFocusCopies()
{
    if (!m_bInitialized || ExchangeBasic(DdxDirection::Save))
        return;
    CParamMngr* pMngr = GetParamMngr();
    const int nCopies = pMngr->m_JobSettings.m_nCopies;
    if (nCopies < 1 || nCopies > 99) {
        pMngr->SetCopies(1);
        SetDlgItemTextW(m_hWnd, IDC_EDIT_COPIES, L"1");
        m_editCopies.ShowRangeTip();
    }
}

namespace {
// A page bound that failed to read: above 9999 it takes the other bound, at 0 or
// less it becomes 1; the edit shows the result. True when it was repaired.
bool RepairPageBound(HWND hDlg, int nEditId, bool bFrom)
{
    CParamMngr* pMngr = GetParamMngr();
    JobSettings& js = pMngr->m_JobSettings;
    const int nValue = bFrom ? js.m_nFromPage : js.m_nToPage;
    const int nOther = bFrom ? js.m_nToPage : js.m_nFromPage;
    if (nValue > 9999) {
        if (bFrom)
            pMngr->SetFromPage(nOther);
        else
            pMngr->SetToPage(nOther);
        SetDlgItemInt(hDlg, nEditId, static_cast<UINT>(bFrom ? js.m_nFromPage : js.m_nToPage), TRUE);
        return true;
    }
    if (nValue <= 0) {
        if (bFrom)
            pMngr->SetFromPage(1);
        else
            pMngr->SetToPage(1);
        SetDlgItemTextW(hDlg, nEditId, L"1");
        return true;
    }
    return false;
}
}  // namespace

void CBasicOptsPage::OnKillFocusFrom()
{
    if (m_bInitialized && !ExchangeBasic(DdxDirection::Save) && RepairPageBound(m_hWnd, IDC_EDIT_FROM, true))
        m_editFrom.ShowRangeTip();
}

void CBasicOptsPage::OnKillFocusTo()
{
    if (m_bInitialized && !ExchangeBasic(DdxDirection::Save) && RepairPageBound(m_hWnd, IDC_EDIT_TO, false))
        m_editTo.ShowRangeTip();
}

void CBasicOptsPage::OnClickedPrintRange()
{
    ExchangeBasic(DdxDirection::Save);
    const JobSettings& js = GetParamMngr()->m_JobSettings;
    if (js.m_nPrintRange == 0) {
        SetDlgItemTextW(m_hWnd, IDC_EDIT_FROM, L"1");
        SetDlgItemTextW(m_hWnd, IDC_EDIT_TO, L"1");
        EnableItem(IDC_EDIT_FROM, false);
        EnableItem(IDC_EDIT_TO, false);
    } else if (js.m_nPrintRange == 1) {
        const int nFrom = js.m_nFromPage, nTo = js.m_nToPage;
        SetDlgItemInt(m_hWnd, IDC_EDIT_FROM, static_cast<UINT>(nFrom), TRUE);
        SetDlgItemInt(m_hWnd, IDC_EDIT_TO, static_cast<UINT>(nTo), TRUE);
        EnableItem(IDC_EDIT_FROM, true);
        EnableItem(IDC_EDIT_TO, true);
    }
    RefreshPreview();
}
