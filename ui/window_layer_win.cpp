#include "ui/window_layer.h"

#include "common/debug_log.h"

namespace {
const wchar_t kObjectProp[] = L"Lumeo.WindowObject";

// Messages whose dialog-procedure result is the value itself, not DWLP_MSGRESULT.
bool ReturnsDirectly(UINT uMsg)
{
    switch (uMsg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}
}  // namespace

bool CWindowBase::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
DLGPROC CWindowBase::GetDialogProc() { return nullptr; }
void CWindowBase::OnFinalMessage(HWND) {}

void CWindowBase::Bind(HWND hWnd, CWindowBase* pThis)
{
    pThis->m_hWnd = hWnd;
    SetPropW(hWnd, kObjectProp, pThis);
}

CWindowBase* CWindowBase::FromHandle(HWND hWnd) { return static_cast<CWindowBase*>(GetPropW(hWnd, kObjectProp)); }

void CWindowBase::Unbind(HWND hWnd) { RemovePropW(hWnd, kObjectProp); }

// ---- CSubclassWnd

CSubclassWnd::~CSubclassWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        UnsubclassWindow();
}

bool CSubclassWnd::SubclassWindow(HWND hWnd)
{
    if (!hWnd || m_hWnd || FromHandle(hWnd))
        return false;
    Bind(hWnd, this);
    m_pfnSuperProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CSubclassWnd::SubclassProc)));
    return m_pfnSuperProc != nullptr;
}

HWND CSubclassWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (!hWnd)
        return nullptr;
    if (GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CSubclassWnd::SubclassProc))
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuperProc));
    Unbind(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

LRESULT CSubclassWnd::DefaultProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_pfnSuperProc, m_hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CSubclassWnd::SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pThis = static_cast<CSubclassWnd*>(FromHandle(hWnd));
    if (!pThis)
        return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    LRESULT lResult = 0;
    if (uMsg != WM_NCDESTROY && pThis->HandleMessage(uMsg, wParam, lParam, lResult))
        return lResult;
    lResult = pThis->DefaultProc(uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) {
        pThis->UnsubclassWindow();
        pThis->OnFinalMessage(hWnd);
    }
    return lResult;
}

// ---- CDialogImpl

INT_PTR CDialogImpl::DoModal(HWND hOwner)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nTemplateId), hOwner,
                           &CDialogImpl::DialogProc, reinterpret_cast<LPARAM>(this));
}

DLGPROC CDialogImpl::GetDialogProc() { return &CDialogImpl::DialogProc; }

INT_PTR CDialogImpl::Dispatch(CWindowBase* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    const bool bHandled = pThis->HandleMessage(uMsg, wParam, lParam, lResult);
    if (uMsg == WM_NCDESTROY) {
        Unbind(hWnd);
        pThis->m_hWnd = nullptr;
        pThis->OnFinalMessage(hWnd);
        return FALSE;
    }
    if (!bHandled)
        return FALSE;
    if (ReturnsDirectly(uMsg))
        return static_cast<INT_PTR>(lResult);
    SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}

INT_PTR CALLBACK CDialogImpl::DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG)
        Bind(hWnd, reinterpret_cast<CDialogImpl*>(lParam));
    CWindowBase* pThis = FromHandle(hWnd);
    return pThis ? Dispatch(pThis, hWnd, uMsg, wParam, lParam) : FALSE;
}

// ---- CPropertyPageImpl

CPropertyPageImpl::CPropertyPageImpl(UINT nTemplateId, const wchar_t* pszLogName)
    : m_nTemplateId(nTemplateId), m_pszLogName(pszLogName)
{
}

HPROPSHEETPAGE CPropertyPageImpl::Create(const std::wstring& strTitle)
{
    m_strTitle = strTitle;
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof(psp);
    psp.dwFlags = PSP_USECALLBACK | PSP_HASHELP | (m_strTitle.empty() ? 0 : PSP_USETITLE);
    psp.hInstance = GetModuleHandleW(nullptr);
    psp.pszTemplate = MAKEINTRESOURCEW(m_nTemplateId);
    psp.pszTitle = m_strTitle.c_str();
    psp.pfnDlgProc = &CPropertyPageImpl::PageDialogProc;
    psp.lParam = reinterpret_cast<LPARAM>(this);
    psp.pfnCallback = &CPropertyPageImpl::PropPageCallback;
    return CreatePropertySheetPageW(&psp);
}

DLGPROC CPropertyPageImpl::GetDialogProc() { return &CPropertyPageImpl::PageDialogProc; }

SIZE CPropertyPageImpl::NaturalSize() const
{
    const SIZE units = DialogTemplateUnits(m_nTemplateId);
    RECT rc = {0, 0, units.cx, units.cy};
    MapDialogRect(m_hWnd, &rc);
    return {rc.right, rc.bottom};
}

SIZE DialogTemplateUnits(UINT nTemplateId)
{
    HMODULE hModule = GetModuleHandleW(nullptr);
    HRSRC hInfo = FindResourceW(hModule, MAKEINTRESOURCEW(nTemplateId), MAKEINTRESOURCEW(5));  // RT_DIALOG
    const void* pData = hInfo ? LockResource(LoadResource(hModule, hInfo)) : nullptr;
    if (!pData || SizeofResource(hModule, hInfo) < sizeof(DLGTEMPLATE) + 8)
        return {0, 0};
    const auto* pWords = static_cast<const WORD*>(pData);
    if (pWords[1] == 0xFFFF) {  // DLGTEMPLATEEX: version, signature, help id, styles, count, x, y, cx, cy
        const auto* pSize = reinterpret_cast<const short*>(static_cast<const BYTE*>(pData) + 22);
        return {pSize[0], pSize[1]};
    }
    const auto* pTemplate = static_cast<const DLGTEMPLATE*>(pData);
    return {pTemplate->cx, pTemplate->cy};
}

UINT CALLBACK CPropertyPageImpl::PropPageCallback(HWND, UINT uMsg, LPPROPSHEETPAGEW ppsp)
{
    auto* pThis = reinterpret_cast<CPropertyPageImpl*>(ppsp->lParam);
    DebugLog(L"%s / PropPageCallback", pThis ? pThis->m_pszLogName : L"");
    // PSPCB_CREATE: allow the page; it is bound to its window on WM_INITDIALOG.
    return uMsg == PSPCB_CREATE ? TRUE : 0;
}

INT_PTR CALLBACK CPropertyPageImpl::PageDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG) {
        auto* ppsp = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
        Bind(hWnd, reinterpret_cast<CPropertyPageImpl*>(ppsp->lParam));
    }
    CWindowBase* pThis = FromHandle(hWnd);
    return pThis ? CDialogImpl::Dispatch(pThis, hWnd, uMsg, wParam, lParam) : FALSE;
}

bool CPropertyPageImpl::HandleMessage(UINT uMsg, WPARAM, LPARAM lParam, LRESULT& lResult)
{
    if (uMsg != WM_NOTIFY)
        return false;
    const auto* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr->hwndFrom != GetSheet())
        return false;
    switch (pHdr->code) {
    case PSN_SETACTIVE:
        lResult = OnSetActive();
        return true;
    case PSN_APPLY:
        lResult = OnApply();
        return true;
    default:
        // Leaving the page, reset, help, wizard and translation notifications.
        lResult = 0;
        return true;
    }
}

RECT ChildRect(HWND hParent, HWND hChild)
{
    RECT rc = {};
    GetWindowRect(hChild, &rc);
    MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void SetDefaultGuiFontOnChildren(HWND hParent)
{
    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND hChild = GetWindow(hParent, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        SendMessageW(hChild, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), FALSE);
}

bool IsWindowOfClass(HWND hWnd, const wchar_t* pszClass)
{
    wchar_t szClass[64] = {};
    return GetClassNameW(hWnd, szClass, 64) > 0 && lstrcmpiW(szClass, pszClass) == 0;
}
