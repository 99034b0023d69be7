#include "ui/group_frame.h"

#include <algorithm>

#include "ui/dpi_scale.h"
#include "ui/focus_cue.h"
#include "ui/gdi_helpers.h"
#include "ui/system_dpi.h"

bool CGroupFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_ERASEBKGND:
    case WM_PAINT:
        return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) { Paint(hdc); });
    case WM_SETTEXT:
    case WM_UPDATEUISTATE: {
        // The old title may be wider: the page repaints what lies under the box.
        lResult = DefaultProc(uMsg, wParam, lParam);
        HWND hParent = GetParent(m_hWnd);
        const RECT rc = ChildRect(hParent, m_hWnd);
        RedrawWindow(hParent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return true;
    }
    default:
        return false;
    }
}

void CGroupFrame::Paint(HDC hdc)
{
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    const int nDpi = SystemDpi();
    wchar_t szText[260] = {};
    GetWindowTextW(m_hWnd, szText, 260);
    auto hFont = reinterpret_cast<HGDIOBJ>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    CSelectObject font(hdc, hFont ? hFont : GetStockObject(DEFAULT_GUI_FONT));
    const UINT nFlags = DT_SINGLELINE | DT_LEFT | DT_TOP | AccessKeyDrawFlag(m_hWnd);
    RECT rcTitle = {0, 0, 0, 0};
    DrawTextW(hdc, szText, -1, &rcTitle, DT_CALCRECT | nFlags);
    const int nInset = ScaleToDpi(kGroupTitleInset, nDpi), nGap = ScaleToDpi(kGroupTitleGap, nDpi);
    OffsetRect(&rcTitle, nInset, 0);
    rcTitle.right = std::min(rcTitle.right, rc.right - nInset);

    // The frame, its top line broken where the title stands.
    const int nSaved = SaveDC(hdc);
    if (szText[0])
        ExcludeClipRect(hdc, rcTitle.left - nGap, 0, rcTitle.right + nGap, rcTitle.bottom);
    HPEN hPen = CreatePen(PS_SOLID, 1, RGB(160, 160, 160));
    {
        CSelectObject pen(hdc, hPen);
        CSelectObject brush(hdc, GetStockObject(NULL_BRUSH));
        const int nCorner = ScaleToDpi(4, nDpi);
        RoundRect(hdc, rc.left, rcTitle.bottom / 2, rc.right, rc.bottom, nCorner, nCorner);
    }
    DeleteObject(hPen);
    RestoreDC(hdc, nSaved);

    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, IsWindowEnabled(m_hWnd) ? RGB(0, 0, 0) : RGB(131, 131, 131));
    DrawTextW(hdc, szText, -1, &rcTitle, nFlags | DT_END_ELLIPSIS);
}
