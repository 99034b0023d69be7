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
#include "files/user_messages.h"
#include "job/outcome/print_summary.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"
#include "job/document/document_scan.h"
#include "ui/sheet_status.h"

void CBasicOptsPage::QueueWaitingFiles()
{
    if (nSupportedTypes <= 0 || m_arrWaitingFiles.empty())
        return;
    FileBatch batch;
    batch.route = FileRoute::Waiting;
    for (const WaitingFile& file : m_arrWaitingFiles) {
        batch.arrPaths.push_back(file.strPath);
        batch.arrNamed.push_back(file.bNamed);
    }
    m_arrWaitingFiles.clear();
    m_arrFileBatches.push_back(std::move(batch));
}

void CBasicOptsPage::TakeOffList(const std::vector<RefusedFile>& arrRefused)
{
    if (arrRefused.empty())
        return;
    std::vector<std::wstring> arrPaths, arrLines;
    bool bWaiting = false;
    for (const RefusedFile& file : arrRefused) {
        arrPaths.push_back(file.strPath);
        arrLines.push_back(FileReasonLine(file.strPath, file.reason));
        DebugLog(L"CBasicOptsPage / off the list : %s", arrLines.back().c_str());
        if (WaitsForAnotherPrinter(file.reason)) {
            m_arrWaitingFiles.push_back({file.strPath, true});
            bWaiting = true;
        }
    }
    RemoveFileEntries(m_hList, arrPaths);
    ShowListedMessage(m_hWnd, TakenOffListText(), arrLines, bWaiting ? FilesWaitNote() : L"");
}

void CBasicOptsPage::OnClickedButtonBrowse()
{
    const std::wstring strWord = GetUIText(L"UI_BASIC_TAB", L"IDC_FILES", L"files");
    const std::wstring strPrintable = GetUIText(L"UI_BASIC_TAB", L"IDC_FILES_PRINTABLE", L"All files Lumeo can print");
    const std::vector<wchar_t> filter =
        FilterToDialogBuffer(BuildBrowseFilter(nSupportedTypes, strWord, strPrintable));
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
    m_arrFileBatches.push_back({std::move(arrPaths), route, {}});
    StartNextAdmission();
}

namespace {
// A file that would be refused at Print for its printer commands never joins the list.
void RefuseFilesWithPrinterCommands(AdmissionResult& result, size_t nCandidates, const std::function<bool()>& fnStop)
{
    std::vector<AdmittedFile> arrKept;
    for (AdmittedFile& file : result.arrAdmitted) {
        FileReason reason = ScanDocumentForPrinterCommands(file.strPath, fnStop);
        if (reason.outcome == FileOutcome::PrinterCommands)
            result.arrRefused.push_back({file.strPath, std::move(reason), nCandidates});
        else
            arrKept.push_back(std::move(file));
    }
    result.arrAdmitted = std::move(arrKept);
}
}  // namespace

void CBasicOptsPage::StartNextAdmission()
{
    // The printer's answer decides which files it takes: they wait for it.
    if (IsCheckingPrinter() || IsAdmittingFiles())
        return;
    // Waiting files go on waiting while the printer takes none.
    while (nSupportedTypes <= 0 && !m_arrFileBatches.empty() && m_arrFileBatches.front().route == FileRoute::Waiting) {
        const FileBatch& batch = m_arrFileBatches.front();
        for (size_t i = 0; i < batch.arrPaths.size(); ++i)
            m_arrWaitingFiles.push_back({batch.arrPaths[i], batch.arrNamed[i]});
        m_arrFileBatches.pop_front();
    }
    if (m_arrFileBatches.empty())
        return;
    m_batchAdmitting = std::move(m_arrFileBatches.front());
    m_arrFileBatches.pop_front();
    EnableWindow(::GetDlgItem(GetSheet(), IDOK), FALSE);
    SetSheetStatus(GetSheet(), GetUIText(L"UI_PRINT_RUN", L"IDL_STATUS_ADMITTING", L"Checking files\x2026"));
    m_admitWorker.SetWindow(m_hWnd);
    const bool bStarted = m_admitWorker.Start(
        [arrPaths = m_batchAdmitting.arrPaths, nTypes = nSupportedTypes](const CWorker::Link& link) {
            auto pResult = std::make_unique<AdmissionResult>(AdmitCandidateFiles(arrPaths, nTypes));
            RefuseFilesWithPrinterCommands(*pResult, arrPaths.size(), [&link] { return link.StopRequested(); });
            link.Post(kMsgFilesAdmitted, std::move(pResult));
        },
        [](const CWorker::Link& link) { link.Post(kMsgFilesAdmitted, std::make_unique<AdmissionResult>()); });
    if (!bStarted) {
        DebugLog(L"CBasicOptsPage / no thread to check the files on");
        ShowPrinterStateNow();
        ShowPrintButton(IsReadyToPrint());
    }
}

void CBasicOptsPage::OnFilesAdmitted()
{
    const std::unique_ptr<AdmissionResult> pResult = m_admitWorker.TakeReport<AdmissionResult>(kMsgFilesAdmitted);
    if (!pResult)
        return;
    m_admitWorker.Finish();
    ShowPrinterStateNow();
    for (const AdmittedFile& file : pResult->arrAdmitted)
        AppendFileEntry(m_hList, file.strPath, file.nIcon);
    EnableRemoveForEntries(FileCount());
    if (!IsCheckingPrinter())
        ShowPrintButton(nSupportedTypes > 0);
    // One message for the whole drop, Browse or command line. A waiting file of a type
    // this printer does not take waits on, and is named once.
    const FileBatch& batch = m_batchAdmitting;
    std::vector<std::wstring> arrLines;
    bool bWaiting = false;
    for (const RefusedFile& file : pResult->arrRefused) {
        const bool bWaits = batch.route == FileRoute::Waiting && WaitsForAnotherPrinter(file.reason);
        if (bWaits)
            m_arrWaitingFiles.push_back({file.strPath, true});
        if (bWaits && file.nCandidate < batch.arrNamed.size() && batch.arrNamed[file.nCandidate])
            continue;
        bWaiting = bWaiting || bWaits;
        arrLines.push_back(FileReasonLine(file.strPath, file.reason));
        DebugLog(L"CBasicOptsPage / refused : %s", arrLines.back().c_str());
    }
    if (!arrLines.empty())
        ShowListedMessage(m_hWnd,
                          GetUserMessageText(batch.route == FileRoute::Drop ? DropRefusalMessage(nSupportedTypes) : 1),
                          arrLines, bWaiting ? FilesWaitNote() : L"");
    StartNextAdmission();
}

void CBasicOptsPage::OnClickedButtonRemove()
{
    if (ListView_GetSelectedCount(m_hList) == 0)
        return;
    ReleaseSheetOutcome(GetSheet());
    EnableRemoveForEntries(RemoveSelectedEntries(m_hList));
}
