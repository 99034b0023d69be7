#include "app/main_sheet.h"

#include "common/debug_log.h"
#include "common/ui_text.h"
#include "job/param_mngr.h"
#include "resources/resource.h"
#include "ui/message_dialog.h"

CMainPropertySheet* g_pMainSheet = nullptr;

CMainPropertySheet::CMainPropertySheet(const std::wstring& strTitle)
    : CGradientBkgndT(IDB_SHEET_BKGND, 1),
      CFrameDlgT(IDB_FRAME_ACTIVE, IDB_FRAME_INACTIVE, IDB_CAPTION_CLOSE, IDB_CAPTION_MINIMIZE, 0),
      m_btnPrint(IDB_BUTTON_FACE, 4),
      m_btnCancel(IDB_BUTTON_FACE, 4),
      m_btnHelp(IDB_BUTTON_FACE, 4),
      m_strTitle(strTitle)
{
    CParamMngr* pMngr = CreateParamMngr();
    pMngr->SetZoom(100);
    DebugLog(L"######### ZOOM : %d", pMngr->m_JobSettings.m_nZoom);
    pMngr->SetColorMode(0);
    pMngr->SetDuplex(0);
    pMngr->SetZoom(100);
    pMngr->SetFitToPage(0);
    pMngr->SetPaperSize(0);
    pMngr->SetPaperType(0);
    pMngr->SetCopies(1);
    pMngr->SetOrientation(0);
    pMngr->SetPrintRange(0);
    pMngr->SetPageRange(1, 1);
    const std::wstring strBasic = GetUIText(L"UI_SHEET", L"IDD_BASICDLG", L"Basic");
    if (HPROPSHEETPAGE hPage = m_pageBasic.Create(strBasic))
        m_hPages[m_nPages++] = hPage;
    DebugLog(L"CMainPropertySheet");
}

CMainPropertySheet::~CMainPropertySheet()
{
    DebugLog(L"CMainPropertySheet::~CMainPropertySheet()");
    if (GetParamMngr())
        DestroyParamMngr();
}

INT_PTR CMainPropertySheet::DoModal(HWND hOwner)
{
    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_USECALLBACK | PSH_NOAPPLYNOW | PSH_HASHELP;
    psh.hwndParent = hOwner;
    psh.hInstance = GetModuleHandleW(nullptr);
    psh.pszCaption = m_strTitle.c_str();
    psh.nPages = static_cast<UINT>(m_nPages);
    psh.nStartPage = 0;
    psh.phpage = m_hPages;
    psh.pfnCallback = &CMainPropertySheet::PropSheetCallback;
    return PropertySheetW(&psh);
}

int CALLBACK CMainPropertySheet::PropSheetCallback(HWND hWnd, UINT uMsg, LPARAM)
{
    if (uMsg == PSCB_INITIALIZED && g_pMainSheet)
        g_pMainSheet->OnInitialized(hWnd);
    return 0;
}

void CMainPropertySheet::OnInitialized(HWND hWnd)
{
    SubclassWindow(hWnd);
    AttachFrame(hWnd);
    CenterOverOwner(hWnd, GetWindow(hWnd, GW_OWNER));
    struct {
        int nId;
        const wchar_t* key;
        const wchar_t* defaultText;
        CBmpBtn* pButton;
    } buttons[] = {{IDOK, L"IDL_PRINT", L"Print", &m_btnPrint},
                   {IDCANCEL, L"IDL_CANCEL", L"Cancel", &m_btnCancel},
                   {IDHELP, L"IDL_HELP", L"Help", &m_btnHelp}};
    for (auto& button : buttons) {
        HWND hButton = GetDlgItem(button.nId);
        SetWindowTextW(hButton, GetUIText(L"UI_SHEET", button.key, button.defaultText).c_str());
        button.pButton->Attach(hButton);
    }
    EnableWindow(GetDlgItem(IDHELP), TRUE);
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(hWnd, PSM_GETTABCONTROL, 0, 0));
    if (hTab) {
        m_tab.Attach(hTab);
        SetWindowLongPtrW(hTab, GWL_STYLE, GetWindowLongPtrW(hTab, GWL_STYLE) | TCS_FIXEDWIDTH);
        SendMessageW(hTab, TCM_SETITEMSIZE, 0, MAKELPARAM(91, 23));
    }
}

bool CMainPropertySheet::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_APP:
        if (!m_bCentered) {
            m_bCentered = true;
            CenterOverOwner(m_hWnd, GetWindow(m_hWnd, GW_OWNER));
        }
        lResult = 0;
        return true;
    case WM_COMMAND:
        if (CommandId(wParam) == IDOK || CommandId(wParam) == IDHELP) {
            // Print (the print run) and Help (the help file) come with their own code.
            lResult = 0;
            return true;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            DebugLog(L"OnSysCommand : SC_MINIMIZE");
            ShowWindow(m_hWnd, SW_MINIMIZE);
        }
        break;
    case WM_CONTEXTMENU:
        DebugLog(L"OnContextMenu");
        lResult = 0;
        return true;
    default:
        break;
    }
    if (ProcessFrameMessage(m_hWnd, uMsg, wParam, lParam, lResult))
        return true;
    return ProcessBkgndMessage(m_hWnd, uMsg, wParam, lParam, lResult);
}
