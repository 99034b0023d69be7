// The main sheet: construction defaults, pages, the sheet callback, its buttons and
// tab, and the sheet window's own messages.
#include "app/sheet/main_sheet.h"

#include <algorithm>
#include <cwctype>

#include "app/shared/version_info.h"
#include "app/sheet/help_viewer.h"
#include "app/sheet/splash_wnd.h"
#include "common/debug_log.h"
#include "common/ui_text.h"
#include "i18n/lang_globals.h"
#include "job/settings/param_mngr.h"
#include "job/spooler/send_data_to_device.h"
#include "resources/resource.h"
#include "ui/access_keys.h"
#include "ui/custom_tab.h"
#include "ui/message_dialog.h"
#include "ui/sheet_status.h"
#include "ui/skin_geometry.h"
#include "ui/system_dpi.h"

CMainPropertySheet* g_pMainSheet = nullptr;

namespace {
constexpr DWORD kSplashMs = 2000;
constexpr DWORD kSplashHoldMs = 1000;

// Part of the sheet template the callback adjusts: DLGTEMPLATE, or DLGTEMPLATEEX
// when its second word is 0xFFFF.
struct DlgTemplateExHead {
    WORD dlgVer;
    WORD signature;
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
    WORD cDlgItems;
    short x, y, cx, cy;
};

// Enter presses the push button that has the focus, as in any dialog. Our buttons draw
// themselves, and the dialog manager sends Enter to the default button (Print) for
// them; a click on Print itself leaves the focus on Print.
bool ClickFocusedButtonOnEnter(HWND hSheet)
{
    HWND hFocus = GetFocus();
    if (GetKeyState(VK_RETURN) >= 0 || !hFocus || hFocus == GetDlgItem(hSheet, IDOK) || !IsChild(hSheet, hFocus) ||
        !IsWindowOfClass(hFocus, L"Button"))
        return false;
    const LONG nType = GetWindowLongW(hFocus, GWL_STYLE) & BS_TYPEMASK;
    if (nType != BS_OWNERDRAW && nType != BS_PUSHBUTTON && nType != BS_DEFPUSHBUTTON)
        return false;
    SendMessageW(hFocus, BM_CLICK, 0, 0);
    return true;
}
}  // namespace

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
    pMngr->SetAdvancedDefaults();
    pMngr->SetBasicDefaults();
    AddPage(m_pageBasic, L"IDD_BASICDLG", L"Basic");
    AddPage(m_pageAdvanced, L"IDD_ADVANCEDDLG", L"Advanced");
    AddPage(m_pageFinishing, L"IDD_FINISHINGDLG", L"Finishing");
    // Files dropped onto the other pages belong to the Basic page's list.
    m_pageAdvanced.SetDropTarget([this] { return m_pageBasic.m_hWnd; });
    m_pageFinishing.SetDropTarget([this] { return m_pageBasic.m_hWnd; });
    m_pageBasic.SetOfferListener(
        [this](const TicketOffer& offer, bool bChecking) { m_pageFinishing.SetOffer(offer, bChecking); });
    SetJobMessageHandler([this](int nKind) { ShowErrorMessage(nKind); });
    DebugLog(L"CMainPropertySheet");
}

CMainPropertySheet::~CMainPropertySheet()
{
    DebugLog(L"CMainPropertySheet::~CMainPropertySheet()");
    if (m_hTabKeyHook)
        UnhookWindowsHookEx(m_hTabKeyHook);
    SetJobMessageHandler(nullptr);
    if (GetParamMngr())
        DestroyParamMngr();
}

void CMainPropertySheet::AddPage(CPropertyPageImpl& page, const wchar_t* key, const wchar_t* defaultTitle)
{
    if (HPROPSHEETPAGE hPage = page.Create(GetUIText(L"UI_SHEET", key, defaultTitle)))
        m_hPages[m_nPages++] = hPage;
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

int CALLBACK CMainPropertySheet::PropSheetCallback(HWND hWnd, UINT uMsg, LPARAM lParam)
{
    if (uMsg == PSCB_PRECREATE && lParam)
        AdjustTemplate(lParam);
    else if (uMsg == PSCB_INITIALIZED && g_pMainSheet)
        g_pMainSheet->OnInitialized(hWnd);
    return 0;
}

void CMainPropertySheet::AdjustTemplate(LPARAM lParam)
{
    // The frame is drawn by CFrameDlgT; the template only grows by 3 x 5 dialog units
    // for it. Its style value takes the sheet's offset, wrapping around.
    constexpr DWORD kStyleOffset = 0x7FFB0000;
    auto* pTemplate = reinterpret_cast<DLGTEMPLATE*>(lParam);
    auto* pEx = reinterpret_cast<DlgTemplateExHead*>(lParam);
    if (pEx->signature == 0xFFFF) {
        pEx->style += kStyleOffset;
        pEx->cx += 3;
        pEx->cy += 5;
    } else {
        pTemplate->style += kStyleOffset;
        pTemplate->cx += 3;
        pTemplate->cy += 5;
    }
}

void CMainPropertySheet::OnInitialized(HWND hWnd)
{
    SubclassWindow(hWnd);
    m_nPages = 0;  // the page records were needed for creation only
    AttachFrame(hWnd);
    CenterOverOwner(hWnd, GetWindow(hWnd, GW_OWNER));
    SetUpButtons();
    SetUpTab();
    m_hTabKeyHook = SetWindowsHookExW(WH_GETMESSAGE, &CMainPropertySheet::TabKeyHook, nullptr, GetCurrentThreadId());
    CreateSheetStatus(hWnd);

    const std::wstring strVersion = ComposeSheetVersionText();
    HWND hSplash = CSplashWnd::Show(IDB_SPLASH, kSplashMs, hWnd, strVersion);
    // The splash is painted already; the sheet appears after it has been seen.
    CSplashWnd::Hold(hSplash, kSplashHoldMs);
}

void CMainPropertySheet::FitFrameToPages()
{
    // The sheet sizes its tab and frame from the pages' templates in its own font, which
    // in some languages is not the pages' font: the frame then holds empty bands or cuts
    // the pages. The tab's display area is made the pages' size and the rest follows.
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    if (!hTab || !m_pageBasic.m_hWnd)
        return;
    SIZE natural = m_pageBasic.NaturalSize();
    const SIZE advanced = DialogTemplateUnits(IDD_ADVANCED), basic = DialogTemplateUnits(IDD_BASIC);
    const SIZE finishing = DialogTemplateUnits(IDD_FINISHING);
    if (basic.cx > 0 && basic.cy > 0) {
        natural.cx = MulDiv(natural.cx, std::max({basic.cx, advanced.cx, finishing.cx}), basic.cx);
        natural.cy = MulDiv(natural.cy, std::max({basic.cy, advanced.cy, finishing.cy}), basic.cy);
    }
    RECT rcDisplay;
    GetClientRect(hTab, &rcDisplay);
    TabCtrl_AdjustRect(hTab, FALSE, &rcDisplay);
    const int dx = natural.cx - (rcDisplay.right - rcDisplay.left);
    const int dy = natural.cy - (rcDisplay.bottom - rcDisplay.top);
    DebugLog(L"CMainPropertySheet::FitFrameToPages / %d x %d", dx, dy);
    if (!dx && !dy)
        return;
    const RECT rcTab = ChildRect(m_hWnd, hTab);
    for (HWND hChild = GetWindow(m_hWnd, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        const RECT rc = ChildRect(m_hWnd, hChild);
        if (hChild == hTab) {
            SetWindowPos(hChild, nullptr, 0, 0, rc.right - rc.left + dx, rc.bottom - rc.top + dy,
                         SWP_NOMOVE | SWP_NOZORDER);
        } else if (IsWindowOfClass(hChild, L"#32770")) {
            SetWindowPos(hChild, nullptr, 0, 0, natural.cx, natural.cy, SWP_NOMOVE | SWP_NOZORDER);
        } else if (rc.top >= rcTab.bottom) {
            // The row below the pages: buttons keep to the right, the status line widens
            // and the state indicator before it keeps its size.
            const bool bButton = IsWindowOfClass(hChild, L"Button");
            const bool bFixed = bButton || GetDlgCtrlID(hChild) == IDC_SHEET_STATE;
            SetWindowPos(hChild, nullptr, rc.left + (bButton ? dx : 0), rc.top + dy,
                         rc.right - rc.left + (bFixed ? 0 : dx), rc.bottom - rc.top, SWP_NOZORDER);
        }
    }
    RECT rcWindow;
    GetWindowRect(m_hWnd, &rcWindow);
    SetWindowPos(m_hWnd, nullptr, 0, 0, rcWindow.right - rcWindow.left + dx, rcWindow.bottom - rcWindow.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void CMainPropertySheet::SetUpButtons()
{
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
}

void CMainPropertySheet::SetUpTab()
{
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    if (!hTab)
        return;
    m_tab.Attach(hTab);
    SetWindowLongPtrW(hTab, GWL_STYLE, GetWindowLongPtrW(hTab, GWL_STYLE) | TCS_FIXEDWIDTH);
    // 91 x 23 at 96 dpi, scaled, and high enough for the tab font.
    TEXTMETRICW tm = {};
    HDC hdc = GetDC(hTab);
    HGDIOBJ hOld = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsW(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(hTab, hdc);
    const TabSize size = TabItemSize(SystemDpi(), tm.tmHeight);
    SendMessageW(hTab, TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy));
}

bool CMainPropertySheet::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_APP:
        if (!m_bCentered) {
            m_bCentered = true;
            FitFrameToPages();  // the first page exists now
            CenterOverOwner(m_hWnd, GetWindow(m_hWnd, GW_OWNER));
        }
        lResult = 0;
        return true;
    case kMsgRunProgress:
        OnRunProgress();
        lResult = 0;
        return true;
    case kMsgRunEnded:
        OnRunEnded();
        lResult = 0;
        return true;
    case WM_QUERYENDSESSION:
        OnCancelDuringRun();
        lResult = TRUE;
        return true;
    case WM_ENDSESSION:
        if (wParam)
            OnSessionEnd();
        lResult = 0;
        return true;
    case WM_CLOSE:
        if (OnCloseDuringRun()) {
            lResult = 0;
            return true;
        }
        break;
    case WM_COMMAND:
        if (CommandId(wParam) == IDCANCEL && OnCancelDuringRun()) {
            lResult = 0;
            return true;
        }
        if (CommandId(wParam) == IDOK) {
            lResult = ClickFocusedButtonOnEnter(m_hWnd) ? 0 : OnPrint();
            return true;
        }
        if (CommandId(wParam) == IDHELP) {
            OnHelp();
            lResult = 0;
            return true;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE && OnCloseDuringRun()) {
            lResult = 0;
            return true;
        }
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            DebugLog(L"OnSysCommand : SC_MINIMIZE");
            ShowWindow(m_hWnd, SW_MINIMIZE);
        }
        break;
    case WM_CONTEXTMENU:
        DebugLog(L"OnContextMenu");
        lResult = 0;
        return true;
    case WM_HELP:
        OnHelpInfo(reinterpret_cast<const HELPINFO*>(lParam));
        lResult = TRUE;
        return true;
    default:
        break;
    }
    if (ProcessFrameMessage(m_hWnd, uMsg, wParam, lParam, lResult))
        return true;
    return ProcessBkgndMessage(m_hWnd, uMsg, wParam, lParam, lResult);
}

LRESULT CALLBACK CMainPropertySheet::TabKeyHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pMsg = reinterpret_cast<MSG*>(lParam);
    CMainPropertySheet* pSheet = g_pMainSheet;
    if (nCode != HC_ACTION || wParam != PM_REMOVE || !pSheet || !pSheet->m_hWnd ||
        !(pMsg->hwnd == pSheet->m_hWnd || IsChild(pSheet->m_hWnd, pMsg->hwnd)))
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    // Alt and a tab's access key, typed anywhere in the sheet, opens its page; the tab
    // control has no text of its own for the dialog manager to find the key in.
    if (pMsg->message == WM_SYSCHAR && pSheet->SelectTabOfAccessKey(static_cast<wchar_t>(pMsg->wParam)))
        pMsg->message = WM_NULL;
    // F5 asks the printer again, wherever the focus is.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F5 && pSheet->m_pageBasic.m_hWnd) {
        pSheet->m_pageBasic.Recheck();
        pMsg->message = WM_NULL;
    }
    // Ctrl+Tab and Ctrl+PgDn turn to the next page, with Shift or PgUp to the one before,
    // also where the sheet's own loop does not.
    const WPARAM nKey = pMsg->wParam;
    if (pMsg->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
        (nKey == VK_TAB || nKey == VK_NEXT || nKey == VK_PRIOR)) {
        pSheet->TurnPage(nKey == VK_PRIOR || (nKey == VK_TAB && GetKeyState(VK_SHIFT) < 0) ? -1 : 1);
        pMsg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}

void CMainPropertySheet::TurnPage(int nStep)
{
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    const int nTabs = hTab ? TabCtrl_GetItemCount(hTab) : 0;
    if (nTabs <= 0)
        return;
    // The focus must not stay on a control of the hidden page, where keys would change
    // what cannot be seen: it goes to the new page, to the control it had there last.
    HWND hLeft = reinterpret_cast<HWND>(SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    HWND hFocus = GetFocus();
    const int nFrom = TabCtrl_GetCurSel(hTab);
    if (hLeft && hFocus && IsChild(hLeft, hFocus) && nFrom >= 0 && nFrom < kMaxPages)
        m_hPageFocus[nFrom] = hFocus;
    const int nTo = (nFrom + nStep + nTabs) % nTabs;
    SendMessageW(m_hWnd, PSM_SETCURSEL, nTo, 0);
    HWND hPage = reinterpret_cast<HWND>(SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (!hPage || hPage == hLeft)
        return;
    HWND hTarget = nTo < kMaxPages ? m_hPageFocus[nTo] : nullptr;
    if (!hTarget || !IsChild(hPage, hTarget) || !IsWindowVisible(hTarget) || !IsWindowEnabled(hTarget))
        hTarget = GetNextDlgTabItem(hPage, nullptr, FALSE);
    SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hTarget ? hTarget : hTab), TRUE);
}

bool CMainPropertySheet::SelectTabOfAccessKey(wchar_t chKey)
{
    HWND hTab = reinterpret_cast<HWND>(SendMessageW(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    const int nTabs = hTab ? TabCtrl_GetItemCount(hTab) : 0;
    for (int i = 0; i < nTabs; ++i) {
        const wchar_t chTabKey = AccessKeyOf(TabItemText(hTab, i));
        if (chTabKey && chTabKey == static_cast<wchar_t>(std::towupper(chKey))) {
            SendMessageW(m_hWnd, PSM_SETCURSEL, i, 0);
            SetFocus(hTab);
            return true;
        }
    }
    return false;
}

void CMainPropertySheet::OnHelp()
{
    SetFocus(m_hWnd);
    DebugLog(L"CMainPropertySheet::OnHelp : %s", g_szHelpFileName);
    OpenHelpFile(nullptr, g_szHelpFileName);
}

void CMainPropertySheet::OnHelpInfo(const HELPINFO* pInfo)
{
    DebugLog(L"Sheet / OnHelpInfo");
    HWND hOwner = pInfo ? static_cast<HWND>(pInfo->hItemHandle) : nullptr;
    OpenHelpFile(hOwner, g_szHelpFileName);
}
