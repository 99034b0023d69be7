// The sheet's side of the print run: the pages and the printer behind PrintRunHost,
// the job of one file and the messages of the print job.
#include "app/main_sheet.h"

#include "common/debug_log.h"
#include "job/job_messages.h"
#include "job/param_mngr.h"
#include "job/pjl_envelope.h"
#include "job/print_run.h"
#include "job/send_data_to_device.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"

namespace {
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
    std::vector<std::wstring> TakePrintFiles() override
    {
        std::vector<std::wstring> arrFiles;
        m_sheet.m_pageBasic.CollectPrintFiles(arrFiles, 1);
        // The list is empty now: nothing is left to remove.
        if (!arrFiles.empty())
            EnableWindow(::GetDlgItem(m_sheet.m_pageBasic.m_hWnd, IDC_BUTTON_REMOVE), FALSE);
        return arrFiles;
    }
    int SendDataToDevice(const std::wstring& strPath) override { return m_sheet.SendDataToDevice(strPath); }
    void ShowErrorMessage(int nKind) override { m_sheet.ShowErrorMessage(nKind); }

private:
    CMainPropertySheet& m_sheet;
};
}  // namespace

LRESULT CMainPropertySheet::OnPrint()
{
    // No printer that takes the files: Print is disabled, and nothing else (Enter in
    // a control, a posted command) may start a run.
    if (m_pageBasic.nSupportedTypes <= 0) {
        DebugLog(L"CMainPropertySheet::OnPrint / nSupportedTypes : %d / refused", m_pageBasic.nSupportedTypes);
        MessageBeep(0xFFFFFFFF);
        return 0;
    }
    CSheetPrintRun host(*this);
    RunPrint(host);
    m_pageBasic.RefreshPreview();
    return 0;
}

void CMainPropertySheet::ShowErrorMessage(int nKind)
{
    DebugLog(L"CMainPropertySheet::ShowErrorMessage : %d", nKind);
    CMessageDialog dialog(JobMessageText(nKind), JobMessageCaption(), IDI_HAND);
    dialog.ShowModal(m_hWnd);
}

std::wstring CMainPropertySheet::SendStartPJLCommand(const std::wstring& strPath)
{
    return ::SendStartPJLCommand(strPath);
}

std::wstring CMainPropertySheet::SendEndPJLCommand() { return ::SendEndPJLCommand(); }

int CMainPropertySheet::SendDataToDevice(const std::wstring& strPath)
{
    return ::SendDataToDevice(m_pageBasic.PrtControl(), strPath);
}
