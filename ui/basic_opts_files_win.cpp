// Basic page: the routes by which files enter and leave the file list.
#include "ui/basic_opts_page.h"

#include <shellapi.h>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/admission.h"
#include "files/admit_files.h"
#include "files/browse_filter.h"
#include "files/file_list.h"
#include "files/shell_files.h"
#include "job/print_summary.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"
#include "ui/sheet_status.h"

void CBasicOptsPage::AddCommandLineFiles()
{
    if (nSupportedTypes <= 0)
        return;
    QueueFiles(m_arrCmdFiles, FileRoute::CommandLine);
}

void CBasicOptsPage::OnClickedButtonBrowse()
{
    const std::wstring strWord = GetUIText(L"UI_BASIC_TAB", L"IDC_FILES", L"files");
    const std::vector<wchar_t> filter = FilterToDialogBuffer(BuildBrowseFilter(nSupportedTypes, strWord));
    std::vector<std::wstring> arrPaths;
    if (!BrowseForFiles(GetActiveWindow(), filter, arrPaths))
        return;
    QueueFiles(std::move(arrPaths), FileRoute::Browse);
}

void CBasicOptsPage::OnDropFiles(HDROP hDrop)
{
    // No file joins or leaves the list while it is being printed.
    if (IsLockedForRun()) {
        DragFinish(hDrop);
        return;
    }
    const UINT nFiles = DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> arrPaths;
    for (UINT i = 0; i < nFiles; ++i) {
        // Measured first, and taken whole: a path cut to a buffer could name another file.
        const UINT nLength = DragQueryFileW(hDrop, i, nullptr, 0);
        std::wstring strPath(nLength + 1, L'\0');
        strPath.resize(DragQueryFileW(hDrop, i, strPath.data(), nLength + 1));
        arrPaths.push_back(std::move(strPath));
    }
    DragFinish(hDrop);
    QueueFiles(std::move(arrPaths), FileRoute::Drop);
}

void CBasicOptsPage::QueueFiles(std::vector<std::wstring> arrPaths, FileRoute route)
{
    if (arrPaths.empty())
        return;
    m_arrFileBatches.push_back({std::move(arrPaths), route});
    StartNextAdmission();
}

void CBasicOptsPage::StartNextAdmission()
{
    // The printer's answer decides which files it takes: they wait for it.
    if (IsCheckingPrinter() || IsAdmittingFiles() || m_arrFileBatches.empty())
        return;
    m_batchAdmitting = std::move(m_arrFileBatches.front());
    m_arrFileBatches.pop_front();
    EnableWindow(::GetDlgItem(GetSheet(), IDOK), FALSE);
    SetSheetStatus(GetSheet(), GetUIText(L"UI_PRINT_RUN", L"IDL_STATUS_ADMITTING", L"Checking files\x2026"));
    m_admitWorker.SetWindow(m_hWnd);
    const bool bStarted = m_admitWorker.Start(
        [arrPaths = m_batchAdmitting.arrPaths, nTypes = nSupportedTypes](const CWorker::Link& link) {
            link.Post(kMsgFilesAdmitted, std::make_unique<AdmissionResult>(AdmitCandidateFiles(arrPaths, nTypes)));
        },
        [](const CWorker::Link& link) { link.Post(kMsgFilesAdmitted, std::make_unique<AdmissionResult>()); });
    if (!bStarted) {
        DebugLog(L"CBasicOptsPage / no thread to check the files on");
        SetSheetStatus(GetSheet(), L"");
        ShowPrintButton(IsReadyToPrint());
    }
}

void CBasicOptsPage::OnFilesAdmitted()
{
    const std::unique_ptr<AdmissionResult> pResult = m_admitWorker.TakeReport<AdmissionResult>(kMsgFilesAdmitted);
    if (!pResult)
        return;
    m_admitWorker.Finish();
    SetSheetStatus(GetSheet(), L"");
    for (const AdmittedFile& file : pResult->arrAdmitted)
        AppendFileEntry(m_hList, file.strPath, file.nIcon);
    EnableRemoveForEntries(FileCount());
    if (!IsCheckingPrinter())
        ShowPrintButton(nSupportedTypes > 0);
    // One message for the whole drop, Browse or command line.
    if (!pResult->arrRefused.empty()) {
        std::vector<std::wstring> arrLines;
        for (const RefusedFile& file : pResult->arrRefused) {
            arrLines.push_back(FileReasonLine(file.strPath, file.reason));
            DebugLog(L"CBasicOptsPage / refused : %s", arrLines.back().c_str());
        }
        ShowUserMessage(m_hWnd, m_batchAdmitting.route == FileRoute::Drop ? DropRefusalMessage(nSupportedTypes) : 1,
                        arrLines);
    }
    StartNextAdmission();
}

void CBasicOptsPage::OnClickedButtonRemove()
{
    if (ListView_GetSelectedCount(m_hList) == 0)
        return;
    EnableRemoveForEntries(RemoveSelectedEntries(m_hList));
}
