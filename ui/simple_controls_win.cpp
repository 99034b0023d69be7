#include "ui/simple_controls.h"

#include <commctrl.h>

bool CStdIcon::HandleMessage(UINT uMsg, WPARAM, LPARAM, LRESULT& lResult)
{
    return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) {
        if (m_hIcon)
            DrawIconEx(hdc, 0, 0, m_hIcon, 0, 0, 0, nullptr, DI_NORMAL);
    });
}

bool IsNumEditChar(wchar_t ch) { return (ch >= L'0' && ch <= L'9') || ch == L'\b'; }

namespace {
constexpr UINT_PTR kTipTimer = 0x4C54;  // hides the balloon
constexpr UINT kTipShownMs = 6000;
}  // namespace

CNumEdit::~CNumEdit()
{
    if (m_hTip)
        DestroyWindow(m_hTip);
}

bool CNumEdit::Attach(HWND hEdit, int nMaxChars)
{
    if (!SubclassWindow(hEdit))
        return false;
    SendMessageW(hEdit, EM_LIMITTEXT, nMaxChars, 0);
    return true;
}

void CNumEdit::SetRangeTip(std::wstring strTitle, std::wstring strText)
{
    m_strTipTitle = std::move(strTitle);
    m_strTipText = std::move(strText);
}

void CNumEdit::ShowRangeTip()
{
    if (!m_hWnd || m_strTipText.empty())
        return;
    // Our own balloon rather than EM_SHOWBALLOONTIP: the same on every system.
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    tool.lpszText = m_strTipText.data();
    if (!m_hTip) {
        m_hTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_BALLOON,
                                 0, 0, 0, 0, GetAncestor(m_hWnd, GA_ROOT), nullptr, GetModuleHandleW(nullptr),
                                 nullptr);
        SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(m_hTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(m_hTip, TTM_SETTITLEW, TTI_ERROR, reinterpret_cast<LPARAM>(m_strTipTitle.c_str()));
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    SendMessageW(m_hTip, TTM_TRACKPOSITION, 0, MAKELPARAM((rc.left + rc.right) / 2, rc.bottom));
    SendMessageW(m_hTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(m_hWnd, kTipTimer, kTipShownMs, nullptr);
}

void CNumEdit::HideRangeTip()
{
    if (!m_hTip)
        return;
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = m_hWnd;
    tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    SendMessageW(m_hTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    KillTimer(m_hWnd, kTipTimer);
}

bool CNumEdit::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_TIMER:
        if (wParam != kTipTimer)
            return false;
        HideRangeTip();
        lResult = 0;
        return true;
    case WM_KILLFOCUS:
    case WM_DESTROY:
        HideRangeTip();
        return false;
    case WM_CHAR: {
        HideRangeTip();
        const auto ch = static_cast<wchar_t>(wParam);
        if (!IsNumEditChar(ch)) {
            MessageBeep(static_cast<UINT>(-1));
            lResult = 0;
            return true;
        }
        // A digit more than the edit holds: it is not taken, and the balloon says why.
        DWORD nStart = 0, nEnd = 0;
        SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart), reinterpret_cast<LPARAM>(&nEnd));
        const auto nLimit = static_cast<int>(SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0));
        if (ch != L'\b' && nStart == nEnd && GetWindowTextLengthW(m_hWnd) >= nLimit) {
            MessageBeep(static_cast<UINT>(-1));
            ShowRangeTip();
            lResult = 0;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}
