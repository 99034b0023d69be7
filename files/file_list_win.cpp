#include "files/file_list.h"

#include <commctrl.h>

#include <algorithm>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/admission.h"
#include "files/shell_files.h"

namespace {
void SizeColumn(HWND hList)
{
    ListView_SetColumnWidth(hList, 0, LVSCW_AUTOSIZE);
    const int nContent = ListView_GetColumnWidth(hList, 0);
    RECT rc;
    GetWindowRect(hList, &rc);
    const int nListWidth = rc.right - rc.left;
    if (nListWidth >= nContent)
        ListView_SetColumnWidth(hList, 0, nListWidth - 5);
}
}  // namespace

int GetFileEntryCount(HWND hList) { return ListView_GetItemCount(hList); }

std::wstring GetFileEntryText(HWND hList, int nIndex)
{
    wchar_t szText[kTextChars] = {};
    ListView_GetItemText(hList, nIndex, 0, szText, kTextChars);
    return szText;
}

int AppendFileEntry(HWND hList, const std::wstring& strPath, int nIcon)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(hList);
    item.pszText = const_cast<wchar_t*>(strPath.c_str());
    item.iImage = nIcon;
    const int nIndex = static_cast<int>(SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    ListView_EnsureVisible(hList, ListView_GetItemCount(hList) - 1, FALSE);
    SizeColumn(hList);
    return nIndex;
}

int RemoveSelectedEntries(HWND hList)
{
    const int nTotal = static_cast<int>(ListView_GetSelectedCount(hList));
    if (nTotal == 0)
        return ListView_GetItemCount(hList);
    std::vector<int> arrSelected;
    int nIndex = ListView_GetNextItem(hList, -1, LVNI_SELECTED);
    DebugLog(L"OnClickedButtonRemove / nTotal : %d / nIndex : %d", nTotal, nIndex);
    for (; nIndex != -1; nIndex = ListView_GetNextItem(hList, nIndex, LVNI_SELECTED)) {
        arrSelected.push_back(nIndex);
        DebugLog(L"OnClickedButtonRemove / *pSelectedIndex : %d", nIndex);
    }
    for (auto it = arrSelected.rbegin(); it != arrSelected.rend(); ++it)
        ListView_DeleteItem(hList, *it);
    ListView_SetItemState(hList, -1, 0, LVIS_SELECTED);
    return ListView_GetItemCount(hList);
}

void RemoveFileEntries(HWND hList, const std::vector<std::wstring>& arrPaths)
{
    for (int nIndex = ListView_GetItemCount(hList) - 1; nIndex >= 0; --nIndex)
        if (std::find(arrPaths.begin(), arrPaths.end(), GetFileEntryText(hList, nIndex)) != arrPaths.end())
            ListView_DeleteItem(hList, nIndex);
}

int CollectFileEntries(HWND hList, std::vector<std::wstring>& arrFiles, bool bTakeAll)
{
    const int nCount = ListView_GetItemCount(hList);
    for (int nIndex = 0; nIndex < nCount; ++nIndex)
        arrFiles.push_back(GetFileEntryText(hList, nIndex));
    if (bTakeAll && nCount > 0)
        ListView_DeleteAllItems(hList);
    return nCount;
}
