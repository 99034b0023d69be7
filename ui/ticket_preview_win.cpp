#include "ui/ticket_preview.h"

#include "ui/bitmap_draw.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_helpers.h"
#include "ui/system_dpi.h"

void CTicketPreview::Show(std::vector<LabelledText> arrTexts)
{
    m_arrTexts = std::move(arrTexts);
    if (m_hWnd)
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool CTicketPreview::HandleMessage(UINT uMsg, WPARAM, LPARAM, LRESULT& lResult)
{
    return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) { Paint(hdc); });
}

void CTicketPreview::Paint(HDC hdcWindow)
{
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    const int nDpi = SystemDpi();
    CMemoryCanvas canvas(hdcWindow, rc.right - rc.left, rc.bottom - rc.top);
    HDC hdc = canvas.DC();
    const CBitmapDC& background = m_background.At(nDpi);
    if (background.IsLoaded())
        DrawStretched(hdc, rc, background.DC(), background.Size(), ScaleToDpi(1, nDpi));
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    CSelectObject selectFont(hdc, hFont ? static_cast<HGDIOBJ>(hFont) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm = {};
    GetTextMetricsW(hdc, &tm);
    const TextWidth fnWidth = [hdc](const std::wstring& strText) {
        SIZE size = {};
        GetTextExtentPoint32W(hdc, strText.c_str(), static_cast<int>(strText.size()), &size);
        return static_cast<int>(size.cx);
    };
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkMode(hdc, TRANSPARENT);
    // Each choice a block of its own; nothing is cut: a long name wraps.
    const int nInset = ScaleToDpi(6, nDpi);
    const int nWidth = rc.right - rc.left - 2 * nInset;
    int y = rc.top + nInset;
    for (const LabelledText& text : m_arrTexts) {
        for (const std::wstring& strLine : WrapLabelled(text, nWidth, fnWidth)) {
            RECT rcLine = {rc.left + nInset, y, rc.right - nInset, y + tm.tmHeight};
            DrawTextW(hdc, strLine.c_str(), -1, &rcLine, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
            y += tm.tmHeight;
        }
        y += tm.tmHeight / 2;
    }
    canvas.CopyTo(hdcWindow, rc.left, rc.top);
}
