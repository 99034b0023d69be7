// Lumeo's entry point: log switch, texts, the main sheet with the command line, modal.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/main_sheet.h"
#include "common/debug_log.h"
#include "common/ui_text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR pszCmdLine, int)
{
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES |
                                                 ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    ReadLogSwitch();
    if (g_wLogSwitch == 1)
        OutputDebugStringW(L"======= Debug Mode =======");
    // The localized UI file is resolved by the language manager once it is part of the
    // program; until then every text is its built-in default.
    const std::wstring strTitle = GetUIText(L"UI_SHEET", L"IDL_TITLE", L"Lumeo");
    INT_PTR nRet = 0;
    {
        CMainPropertySheet sheet(strTitle);
        g_pMainSheet = &sheet;
        sheet.m_pageBasic.m_strCmdLine = pszCmdLine ? pszCmdLine : L"";
        nRet = sheet.DoModal(GetActiveWindow());
        CoUninitialize();
        DebugLog(L"_tWinMain : nRet: %d", static_cast<int>(nRet));
        g_pMainSheet = nullptr;
    }
    return static_cast<int>(nRet);
}
