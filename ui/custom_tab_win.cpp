#include "ui/custom_tab.h"

#include "resources/resource.h"
#include "ui/bitmap_draw.h"
#include "ui/dpi_scale.h"
#include "ui/focus_cue.h"
#include "ui/system_dpi.h"

std::wstring TabItemText(HWND hTab, int nIndex)
{
    wchar_t szText[260] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = szText;
    item.cchTextMax = 260;
    SendMessageW(hTab, TCM_GETITEMW, nIndex, reinterpret_cast<LPARAM>(&item));
    return szText;
}

bool CCustomTab::Attach(HWND hTab)
{
    if (!SubclassWindow(hTab))
        return false;
    InvalidateRect(hTab, nullptr, TRUE);
    return true;
}

bool CCustomTab::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    // The focus cue comes and goes with the focus and the keyboard's use.
    if (uMsg == WM_SETFOCUS || uMsg == WM_KILLFOCUS || uMsg == WM_UPDATEUISTATE) {
        lResult = DefaultProc(uMsg, wParam, lParam);
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return true;
    }
    return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) { Paint(hdc); });
}

void CCustomTab::DrawTab(HDC hdc, const RECT& rc, TabSkin& skin, int nDpi)
{
    const CBitmapDC& bitmap = skin.bitmap.At(nDpi);
    if (!bitmap.IsLoaded())
        return;
    const int bw = bitmap.Width(), bh = bitmap.Height();
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const int l = ScaleToDpi(skin.nLeft, nDpi), r = ScaleToDpi(skin.nRight, nDpi), t = ScaleToDpi(skin.nTop, nDpi);
    HDC src = bitmap.DC();
    const int nOld = SetStretchBltMode(hdc, COLORONCOLOR);
    // Six parts; no bottom edge, so the tab stays open towards the page.
    StretchBlt(hdc, rc.left, rc.top, l, t, src, 0, 0, l, t, SRCCOPY);
    StretchBlt(hdc, rc.left + l, rc.top, w - l - r, t, src, l, 0, bw - l - r, t, SRCCOPY);
    StretchBlt(hdc, rc.right - r, rc.top, r, t, src, bw - r, 0, r, t, SRCCOPY);
    StretchBlt(hdc, rc.left, rc.top + t, l, h - t, src, 0, t, l, bh - t, SRCCOPY);
    StretchBlt(hdc, rc.right - r, rc.top + t, r, h - t, src, bw - r, t, r, bh - t, SRCCOPY);
    StretchBlt(hdc, rc.left + l, rc.top + t, w - l - r, h - t, src, l, t, bw - l - r, bh - t, SRCCOPY);
    SetStretchBltMode(hdc, nOld);
}

void CCustomTab::Paint(HDC hdcWindow)
{
    RECT rcClient;
    GetClientRect(m_hWnd, &rcClient);
    const int nTabs = TabCtrl_GetItemCount(m_hWnd);
    const int nSelected = TabCtrl_GetCurSel(m_hWnd);
    const int nDpi = SystemDpi();
    {
        CMemoryCanvas canvas(hdcWindow, rcClient.right, rcClient.bottom);
        const CBitmapDC& background = m_background.At(nDpi);
        if (background.IsLoaded())
            DrawTiled(canvas.DC(), rcClient, background.DC(), background.Size(), ScaleToDpi(1, nDpi));
        for (int i = 0; i < nTabs; ++i) {
            RECT rc;
            TabCtrl_GetItemRect(m_hWnd, i, &rc);
            DrawTab(canvas.DC(), rc, i == nSelected ? m_selected : m_unselected, nDpi);
        }
        canvas.CopyTo(hdcWindow, 0, 0);
    }
    HFONT hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CSelectObject selectFont(hdcWindow, hFont);
    SetBkMode(hdcWindow, TRANSPARENT);
    for (int i = 0; i < nTabs; ++i) {
        const std::wstring strText = TabItemText(m_hWnd, i);
        RECT rc;
        TabCtrl_GetItemRect(m_hWnd, i, &rc);
        SetTextColor(hdcWindow, i == nSelected ? RGB(255, 255, 255) : RGB(0, 0, 0));
        DrawTextW(hdcWindow, strText.c_str(), -1, &rc,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | AccessKeyDrawFlag(m_hWnd));
        if (i == nSelected && ShowsFocusCue(m_hWnd)) {
            const int nInset = ScaleToDpi(3, nDpi);
            InflateRect(&rc, -nInset, -nInset);
            SetTextColor(hdcWindow, RGB(0, 0, 0));
            DrawFocusRect(hdcWindow, &rc);
        }
    }
}
