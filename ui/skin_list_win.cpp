#include "ui/skin_list.h"

#include "common/debug_log.h"
#include "resources/resource.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_helpers.h"
#include "ui/system_dpi.h"

CSkinListCtrl::CSkinListCtrl() : m_header(IDB_LIST_HEADER, IDB_LIST_HEADER) {}

bool CSkinListCtrl::Attach(HWND hList)
{
    if (!SubclassWindow(hList))
        return false;
    LONG_PTR style = GetWindowLongPtrW(hList, GWL_STYLE);
    if (!(style & WS_BORDER))
        SetWindowLongPtrW(hList, GWL_STYLE, style | WS_BORDER);
    HWND hHeader = ListView_GetHeader(hList);
    if (hHeader)
        m_header.SubclassWindow(hHeader);
    return true;
}

bool CSkinListCtrl::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    // The focused row's cue follows the keyboard's use (drawn by the page's custom draw).
    if (uMsg == WM_UPDATEUISTATE) {
        lResult = DefaultProc(uMsg, wParam, lParam);
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return true;
    }
    return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) {
        HWND hHeader = ListView_GetHeader(m_hWnd);
        if (hHeader && IsWindowVisible(hHeader)) {
            RECT rcHeader;
            GetWindowRect(hHeader, &rcHeader);
            MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcHeader), 2);
            ExcludeClipRect(hdc, rcHeader.left, rcHeader.top, rcHeader.right, rcHeader.bottom);
        }
        RECT rcClip;
        GetClipBox(hdc, &rcClip);
        HBRUSH hBrush = CreateSolidBrush(ListView_GetTextBkColor(m_hWnd));
        FillRect(hdc, &rcClip, hBrush);
        DeleteObject(hBrush);
        DefaultProc(WM_PAINT, reinterpret_cast<WPARAM>(hdc), 0);
    });
}

bool CSkinListHeader::HandleMessage(UINT uMsg, WPARAM, LPARAM, LRESULT& lResult)
{
    return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) { Paint(hdc); });
}

void CSkinListHeader::Paint(HDC hdcWindow)
{
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    DebugLog(L"LIST : DrawFrame : W : %d / H : %d", static_cast<int>(rc.right), static_cast<int>(rc.bottom));
    const int nDpi = SystemDpi();
    const int nInset = ScaleToDpi(2, nDpi);
    const CBitmapDC& face = (IsWindowEnabled(m_hWnd) ? m_enabled : m_disabled).At(nDpi);
    const int nItems = Header_GetItemCount(m_hWnd);
    {
        CMemoryCanvas canvas(hdcWindow, rc.right, rc.bottom);
        if (face.IsLoaded()) {
            const int nOld = SetStretchBltMode(canvas.DC(), COLORONCOLOR);
            StretchBlt(canvas.DC(), 0, 0, rc.right, rc.bottom, face.DC(), 0, 0, face.Width(), face.Height(), SRCCOPY);
            for (int i = 0; i < nItems; ++i) {
                RECT rcItem;
                Header_GetItemRect(m_hWnd, i, &rcItem);
                InflateRect(&rcItem, -nInset, -nInset);
                StretchBlt(canvas.DC(), rcItem.left, rcItem.top, rcItem.right - rcItem.left,
                           rcItem.bottom - rcItem.top, face.DC(), 0, 0, face.Width(), face.Height(), SRCCOPY);
            }
            SetStretchBltMode(canvas.DC(), nOld);
        }
        canvas.CopyTo(hdcWindow, 0, 0);
    }
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    CSelectObject selectFont(hdcWindow, hFont ? static_cast<HGDIOBJ>(hFont) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdcWindow, TRANSPARENT);
    SetTextColor(hdcWindow, RGB(255, 255, 255));
    for (int i = 0; i < nItems; ++i) {
        wchar_t szText[260] = {};
        HDITEMW item = {};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = szText;
        item.cchTextMax = 260;
        SendMessageW(m_hWnd, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        RECT rcItem;
        Header_GetItemRect(m_hWnd, i, &rcItem);
        InflateRect(&rcItem, -nInset, -nInset);
        UINT uAlign = DT_LEFT;
        if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
            uAlign = DT_CENTER;
        else if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
            uAlign = DT_RIGHT;
        DrawTextW(hdcWindow, szText, -1, &rcItem, uAlign | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}
