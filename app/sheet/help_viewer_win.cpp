#include "app/sheet/help_viewer.h"

#include <cwchar>

#include "common/debug_log.h"

namespace {
constexpr UINT kHHDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
using HtmlHelpWFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The viewer from the system folder by its full path: a library of that name anywhere
// else (the program's folder, the current folder) is never loaded.
HMODULE LoadSystemViewer()
{
    wchar_t szPath[MAX_PATH] = {};
    const UINT nChars = GetSystemDirectoryW(szPath, MAX_PATH);
    const wchar_t kName[] = L"\\hhctrl.ocx";
    if (nChars == 0 || nChars + wcslen(kName) >= MAX_PATH)
        return nullptr;
    wcscat(szPath, kName);
    return LoadLibraryW(szPath);
}

HtmlHelpWFn LoadHtmlHelp()
{
    // Stays loaded: the viewer's window outlives the call that opened it.
    static HMODULE hViewer = LoadSystemViewer();
    if (!hViewer)
        return nullptr;
    return reinterpret_cast<HtmlHelpWFn>(reinterpret_cast<void*>(GetProcAddress(hViewer, "HtmlHelpW")));
}
}  // namespace

bool OpenHelpFile(HWND hOwner, const wchar_t* pszHelpFile)
{
    HtmlHelpWFn pHtmlHelp = LoadHtmlHelp();
    if (!pHtmlHelp) {
        DebugLog(L"OpenHelpFile : no HTML Help viewer");
        return false;
    }
    return pHtmlHelp(hOwner, pszHelpFile, kHHDisplayTopic, 0) != nullptr;
}
