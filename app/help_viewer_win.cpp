#include "app/help_viewer.h"

#include "common/debug_log.h"

namespace {
constexpr UINT kHHDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
using HtmlHelpWFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

HtmlHelpWFn LoadHtmlHelp()
{
    // Stays loaded: the viewer's window outlives the call that opened it.
    static HMODULE hViewer = LoadLibraryW(L"hhctrl.ocx");
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
