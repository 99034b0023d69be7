#include "files/shell_files.h"

#include <commdlg.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "files/browse_filter.h"
#include "files/file_types.h"

namespace {
// Room for many long names in one multiple selection.
constexpr DWORD kSelectionChars = 32768;
}  // namespace

std::wstring ResolveShortcut(const std::wstring& strPath)
{
    // A link under another name would make any file lead to a share of someone's choice.
    if (!IsShortcutExtension(PathExtension(strPath)))
        return {};
    std::wstring strTarget;
    IShellLinkW* pLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&pLink))))
        return {};
    IPersistFile* pFile = nullptr;
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        if (SUCCEEDED(pFile->Load(strPath.c_str(), STGM_READ))) {
            wchar_t szTarget[kTextChars] = {};
            if (pLink->GetPath(szTarget, kTextChars, nullptr, SLGP_UNCPRIORITY) == S_OK)
                strTarget = szTarget;
        }
        pFile->Release();
    }
    pLink->Release();
    return strTarget;
}

std::wstring ResolvedPath(const std::wstring& strPath)
{
    const std::wstring strTarget = ResolveShortcut(strPath);
    return strTarget.empty() ? strPath : strTarget;
}

int GetIconIndex(const std::wstring& strPath)
{
    SHFILEINFOW info = {};
    int nIndex = 0;
    if (SHGetFileInfoW(strPath.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        nIndex = info.iIcon;
    else if (SHGetFileInfoW(strPath.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                            SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES))
        nIndex = info.iIcon;  // no icon from the file itself: the one of its type
    DebugLog(L"CBasicOptsPage::GetIconIndex / %d", nIndex);
    return nIndex;
}

bool GetSystemImageList(HWND hList, const wchar_t* pszPattern)
{
    SHFILEINFOW info = {};
    auto hSmall = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        pszPattern, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    auto hLarge = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        pszPattern, FILE_ATTRIBUTE_NORMAL, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_USEFILEATTRIBUTES));
    if (info.hIcon)
        DestroyIcon(info.hIcon);
    DebugLog(L"CBasicOptsPage::GetSystemImageList / hSystemLargeImageList : %d",
             static_cast<int>(reinterpret_cast<INT_PTR>(hLarge)));
    // The lists belong to the shell: the control must not destroy them.
    LONG_PTR style = GetWindowLongPtrW(hList, GWL_STYLE);
    SetWindowLongPtrW(hList, GWL_STYLE, style | LVS_SHAREIMAGELISTS);
    if (hSmall)
        ListView_SetImageList(hList, hSmall, LVSIL_SMALL);
    if (hLarge)
        ListView_SetImageList(hList, hLarge, LVSIL_NORMAL);
    return hSmall != nullptr;
}

bool BrowseForFiles(HWND hOwner, const std::vector<wchar_t>& filterBuffer, std::vector<std::wstring>& paths)
{
    std::vector<wchar_t> selection(kSelectionChars, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = filterBuffer.data();
    ofn.lpstrFile = selection.data();
    ofn.nMaxFile = kSelectionChars;
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_LONGNAMES | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT |
                OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&ofn))
        return false;
    paths = SplitOpenFileSelection(selection.data(), selection.size());
    return !paths.empty();
}
