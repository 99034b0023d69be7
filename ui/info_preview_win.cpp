#include "ui/info_preview.h"

#include "common/user_language.h"
#include "job/param_mngr.h"
#include "resources/resource.h"
#include "ui/bitmap_draw.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_helpers.h"
#include "ui/info_preview_text.h"
#include "ui/system_dpi.h"

namespace {
void DrawBand(HDC hdc, const PreviewBox& band, int nInset, const std::wstring& strText, HBRUSH hBrush)
{
    RECT rc = {band.left, band.top, band.right, band.bottom};
    FillRect(hdc, &rc, hBrush);
    rc.left += nInset;
    DrawTextW(hdc, strText.c_str(), -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}
}  // namespace

void CInfoPreview::Refresh()
{
    if (m_hWnd)
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool CInfoPreview::HandleMessage(UINT uMsg, WPARAM, LPARAM, LRESULT& lResult)
{
    return ProcessSelfPaintMessage(m_hWnd, uMsg, lResult, [this](HDC hdc) { Paint(hdc); });
}

void CInfoPreview::Paint(HDC hdcWindow)
{
    RECT rc;
    GetClientRect(m_hWnd, &rc);
    const int x0 = rc.left, y0 = rc.top, x1 = rc.right, y1 = rc.bottom;
    const int nDpi = SystemDpi();
    CMemoryCanvas canvas(hdcWindow, x1 - x0, y1 - y0);
    HDC hdc = canvas.DC();
    const CBitmapDC& background = m_background.At(nDpi);
    if (background.IsLoaded())
        DrawStretched(hdc, rc, background.DC(), background.Size(), ScaleToDpi(1, nDpi));

    CParamMngr* pMngr = GetParamMngr();
    if (pMngr) {
        const JobSettings& js = pMngr->m_JobSettings;
        const InfoPreviewTexts texts = ComposeInfoPreviewTexts(*pMngr, GetUserPrimaryLanguage());
        HFONT hFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        CSelectObject selectFont(hdc, hFont ? static_cast<HGDIOBJ>(hFont) : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW tm = {};
        GetTextMetricsW(hdc, &tm);
        const PreviewLayout layout = ComputePreviewLayout(x0, y0, x1, y1, nDpi, tm.tmHeight);
        SetTextColor(hdc, RGB(0, 0, 0));
        SetBkMode(hdc, TRANSPARENT);
        HBRUSH hBand = CreateSolidBrush(RGB(210, 210, 210));
        DrawBand(hdc, layout.bands[2], layout.nTextInset, texts.strColor, hBand);
        DrawBand(hdc, layout.bands[1], layout.nTextInset, texts.strDuplex, hBand);
        DrawBand(hdc, layout.bands[0], layout.nTextInset, texts.strCopies, hBand);
        DeleteObject(hBand);

        RECT rcTop = {layout.topLine.left, layout.topLine.top, layout.topLine.right, layout.topLine.bottom};
        DrawTextW(hdc, texts.strRange.c_str(), -1, &rcTop,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        RECT rcPaper = {layout.paperText.left, layout.paperText.top, layout.paperText.right, layout.paperText.bottom};
        DrawTextW(hdc, texts.strPaper.c_str(), -1, &rcPaper, DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

        const bool bLandscape = js.m_nOrientation != 0;
        const PreviewBox box = PaperPictureBox(layout, x0, x1, pMngr->GetPaperWidthMM(), pMngr->GetPaperHeightMM(),
                                               bLandscape);
        RECT rcPicture = {box.left, box.top, box.right, box.bottom};
        InflateRect(&rcPicture, -layout.nShrink, -layout.nShrink);
        if (rcPicture.right > rcPicture.left && rcPicture.bottom > rcPicture.top) {
            const int d = layout.nShadowStep;
            FillRect(hdc, &rcPicture, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
            OffsetRect(&rcPicture, -d, -d);
            FillRect(hdc, &rcPicture, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            OffsetRect(&rcPicture, -d, -d);
            const CBitmapDC& paper = (bLandscape ? m_landscape : m_portrait).At(nDpi);
            if (paper.IsLoaded())
                DrawStretched(hdc, rcPicture, paper.DC(), paper.Size(), ScaleToDpi(1, nDpi));
        }
    }
    canvas.CopyTo(hdcWindow, x0, y0);
}
