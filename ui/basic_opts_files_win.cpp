// Basic page: the routes by which files enter and leave the file list.
#include "ui/basic_opts_page.h"

#include <shellapi.h>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/admission.h"
#include "files/browse_filter.h"
#include "files/file_list.h"
#include "files/shell_files.h"
#include "job/print_summary.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"

void CBasicOptsPage::AddCommandLineFiles()
{
    if (nSupportedTypes <= 0)
        return;
    std::vector<std::wstring> arrPaths;
    for (const std::wstring& strFile : m_arrCmdFiles)
        arrPaths.push_back(ResolvedPath(strFile));
    AdmitFiles(arrPaths, 1);
    EnableRemoveForEntries(FileCount());
}

void CBasicOptsPage::OnClickedButtonBrowse()
{
    const std::wstring strWord = GetUIText(L"UI_BASIC_TAB", L"IDC_FILES", L"files");
    const std::vector<wchar_t> filter = FilterToDialogBuffer(BuildBrowseFilter(nSupportedTypes, strWord));
    std::vector<std::wstring> arrPaths;
    if (!BrowseForFiles(GetActiveWindow(), filter, arrPaths))
        return;
    // A single choice comes back resolved by the dialog itself.
    if (arrPaths.size() > 1)
        for (std::wstring& strPath : arrPaths)
            strPath = ResolvedPath(strPath);
    AdmitFiles(arrPaths, 1);
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
        arrPaths.push_back(ResolvedPath(strPath));
    }
    DragFinish(hDrop);
    // While the printer is being checked, the drop waits for the answer.
    if (IsCheckingPrinter())
        m_arrPendingDrops.push_back(std::move(arrPaths));
    else
        AdmitFiles(arrPaths, DropRefusalMessage(nSupportedTypes));
}

void CBasicOptsPage::AdmitFiles(const std::vector<std::wstring>& arrPaths, int nRefusalMessage)
{
    std::vector<std::wstring> arrRefused;
    for (const std::wstring& strPath : arrPaths) {
        FileReason reason;
        if (ValidatePathname(strPath, nSupportedTypes, &reason))
            AppendFileEntry(m_hList, strPath);
        else
            arrRefused.push_back(FileReasonLine(strPath, reason));
    }
    if (FileCount() > 0)
        EnableItem(IDC_BUTTON_REMOVE, true);
    // One message for the whole drop, Browse or command line.
    if (!arrRefused.empty()) {
        for (const std::wstring& strLine : arrRefused)
            DebugLog(L"CBasicOptsPage / refused : %s", strLine.c_str());
        ShowUserMessage(m_hWnd, nRefusalMessage, arrRefused);
    }
}

void CBasicOptsPage::OnClickedButtonRemove()
{
    if (ListView_GetSelectedCount(m_hList) == 0)
        return;
    EnableRemoveForEntries(RemoveSelectedEntries(m_hList));
}
