// Basic page: the routes by which files enter and leave the file list.
#include "ui/basic_opts_page.h"

#include <shellapi.h>

#include "common/ui_text.h"
#include "files/admission.h"
#include "files/browse_filter.h"
#include "files/file_list.h"
#include "files/shell_files.h"
#include "resources/resource.h"

void CBasicOptsPage::AddCommandLineFiles()
{
    if (nSupportedTypes <= 0)
        return;
    for (const std::wstring& strFile : m_arrCmdFiles) {
        const std::wstring strPath = ResolvedPath(strFile);
        if (ValidatePathname(strPath, nSupportedTypes))
            AppendFileEntry(m_hList, strPath);
    }
    EnableRemoveForEntries(FileCount());
}

void CBasicOptsPage::OnClickedButtonBrowse()
{
    const std::wstring strWord = GetUIText(L"UI_BASIC_TAB", L"IDC_FILES", L"files");
    const std::vector<wchar_t> filter = FilterToDialogBuffer(BuildBrowseFilter(nSupportedTypes, strWord));
    std::vector<std::wstring> arrPaths;
    if (!BrowseForFiles(GetActiveWindow(), filter, arrPaths))
        return;
    const bool bSingle = arrPaths.size() == 1;
    for (const std::wstring& strChosen : arrPaths) {
        // A single choice comes back resolved by the dialog itself.
        const std::wstring strPath = bSingle ? strChosen : ResolvedPath(strChosen);
        if (ValidatePathname(strPath, nSupportedTypes)) {
            AppendFileEntry(m_hList, strPath);
            EnableItem(IDC_BUTTON_REMOVE, true);
        } else {
            ShowErrorMessage(1);
        }
    }
}

void CBasicOptsPage::OnDropFiles(HDROP hDrop)
{
    // No file joins or leaves the list while it is being printed.
    if (IsLockedForRun()) {
        DragFinish(hDrop);
        return;
    }
    const UINT nFiles = DragQueryFileW(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        // Measured first: a path cut to the buffer could name another file.
        const UINT nLength = DragQueryFileW(hDrop, i, nullptr, 0);
        wchar_t szPath[kTextChars] = {};
        if (nLength < static_cast<UINT>(kTextChars))
            DragQueryFileW(hDrop, i, szPath, kTextChars);
        // While the printer is being checked, the drop waits for the answer.
        if (IsCheckingPrinter())
            m_arrPendingDrops.push_back(szPath);
        else
            AdmitDroppedPath(szPath);
    }
    DragFinish(hDrop);
}

void CBasicOptsPage::AdmitDroppedPath(const std::wstring& strDropped)
{
    const std::wstring strPath = ResolvedPath(strDropped);  // empty, and so refused, when too long
    if (ValidatePathname(strPath, nSupportedTypes))
        AppendFileEntry(m_hList, strPath);
    else
        ShowErrorMessage(DropRefusalMessage(nSupportedTypes));
    if (FileCount() > 0)
        EnableItem(IDC_BUTTON_REMOVE, true);
}

void CBasicOptsPage::OnClickedButtonRemove()
{
    if (ListView_GetSelectedCount(m_hList) == 0)
        return;
    EnableRemoveForEntries(RemoveSelectedEntries(m_hList));
}
