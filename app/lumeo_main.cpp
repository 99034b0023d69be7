// Lumeo's entry point: log switch, localized files, the main sheet with the command
// line, shown modally; its modal result is the exit code.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_module.h"
#include "app/main_sheet.h"
#include "common/debug_log.h"
#include "common/ui_text.h"
#include "i18n/lang_globals.h"
#include "i18n/lang_manager.h"

CAppModule _Module;

namespace {
// Libraries come from the program's folder and the system folders only, never from the
// current folder or PATH, where anyone may have put a library of the same name. Older
// systems without the call at least leave the current folder out.
void HardenLibrarySearch()
{
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto pfnSet = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (!pfnSet || !pfnSet(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS))
        SetDllDirectoryW(L"");
}
}  // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR pszCmdLine, int)
{
    HardenLibrarySearch();
    CoInitialize(nullptr);
    // Bars and rebars, and the classes the pages' templates name.
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES |
                                                 ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    _Module.Init(hInstance);
    ReadLogSwitch();
    if (g_wLogSwitch == 1)
        OutputDebugStringW(L"======= Debug Mode =======");
    {
        CLangManager langManager;
        langManager.GetHelpFileName(g_szHelpFileName, kTextChars);
        langManager.GetUIFileName(g_szUIFileName, kTextChars);
    }
    const std::wstring strTitle = GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo");

    INT_PTR nRet = 0;
    {
        CMainPropertySheet sheet(strTitle);
        g_pMainSheet = &sheet;
        sheet.m_pageBasic.m_strCmdLine = pszCmdLine ? pszCmdLine : L"";
        nRet = sheet.DoModal(GetActiveWindow());
        _Module.Term();
        CoUninitialize();
        DebugLog(L"_tWinMain : nRet: %d", static_cast<int>(nRet));
        g_pMainSheet = nullptr;
    }
    // A printer check may still be waiting for a silent printer on its worker thread:
    // nothing waits for it, and the C runtime's clean-up must not run beneath it.
    ExitProcess(static_cast<UINT>(nRet));
}
