#include "ui/group_frame.h"

#include <algorithm>
#include <vector>

#include "ui/access_keys.h"
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
    // The title is drawn without prefix processing and its key underlined here: DrawText's
    // own underline may stand letters away from its letter.
    const ShownLabel title = ShownWithAccessKey(szText);
    const UINT nFlags = DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX;
    RECT rcTitle = {0, 0, 0, 0};
    DrawTextW(hdc, title.strText.c_str(), -1, &rcTitle, DT_CALCRECT | nFlags);
    const int nInset = ScaleToDpi(kGroupTitleInset, nDpi), nGap = ScaleToDpi(kGroupTitleGap, nDpi);
    OffsetRect(&rcTitle, nInset, 0);
    const bool bWhole = rcTitle.right <= rc.right - nInset;
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
    if (!bWhole) {
        DrawTextW(hdc, title.strText.c_str(), -1, &rcTitle, nFlags | DT_END_ELLIPSIS);
        return;
    }
    // Each letter placed where the measure puts it, so that the underline below finds it.
    const int nChars = static_cast<int>(title.strText.size());
    std::vector<INT> ends(nChars + 1, 0), advances(nChars, 0);
    SIZE whole = {};
    GetTextExtentExPointW(hdc, title.strText.c_str(), nChars, 0, nullptr, ends.data() + 1, &whole);
    for (int i = 0; i < nChars; ++i)
        advances[i] = ends[i + 1] - ends[i];
    ExtTextOutW(hdc, rcTitle.left, rcTitle.top, 0, nullptr, title.strText.c_str(), nChars, advances.data());
    if (title.nKey == std::wstring::npos || AccessKeyDrawFlag(m_hWnd) == DT_HIDEPREFIX)
        return;
    TEXTMETRICW tm = {};
    GetTextMetricsW(hdc, &tm);
    const int nTop = rcTitle.top + tm.tmAscent + 1;
    RECT rcLine = {rcTitle.left + ends[title.nKey], nTop, rcTitle.left + ends[title.nKey + 1],
                   nTop + std::max(1, ScaleToDpi(1, nDpi))};
    HBRUSH hLine = CreateSolidBrush(GetTextColor(hdc));
    FillRect(hdc, &rcLine, hLine);
    DeleteObject(hLine);
}
