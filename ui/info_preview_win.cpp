#include "ui/info_preview.h"

#include "common/user_language.h"
#include "job/param_mngr.h"
#include "resources/resource.h"
#include "ui/bitmap_draw.h"
#include "ui/gdi_helpers.h"
#include "ui/info_preview_text.h"

namespace {
constexpr int kBandHeight = 18;

void DrawBand(HDC hdc, int x0, int x1, int yTop, int yBottom, const std::wstring& strText, HBRUSH hBrush)
{
    RECT rc = {x0 + 1, yTop, x1 - 1, yBottom};
    FillRect(hdc, &rc, hBrush);
    rc.left += 5;
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
    CMemoryCanvas canvas(hdcWindow, x1 - x0, y1 - y0);
    HDC hdc = canvas.DC();
    CBitmapDC background(IDB_PREVIEW_BKGND);
    if (background.IsLoaded())
        DrawStretched(hdc, rc, background.DC(), background.Size(), 1);

    CParamMngr* pMngr = GetParamMngr();
    if (pMngr) {
        const JobSettings& js = pMngr->m_JobSettings;
        const InfoPreviewTexts texts = ComposeInfoPreviewTexts(*pMngr, GetUserPrimaryLanguage());
        HFONT hFont = reinterpret_cast<HFONT>(SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        CSelectObject selectFont(hdc, hFont ? static_cast<HGDIOBJ>(hFont) : GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(hdc, RGB(0, 0, 0));
        SetBkMode(hdc, TRANSPARENT);
        HBRUSH hBand = CreateSolidBrush(RGB(210, 210, 210));
        DrawBand(hdc, x0, x1, y1 - 19, y1 - 1, texts.strColor, hBand);
        DrawBand(hdc, x0, x1, y1 - 38, y1 - 20, texts.strDuplex, hBand);
        DrawBand(hdc, x0, x1, y1 - 57, y1 - 39, texts.strCopies, hBand);
        DeleteObject(hBand);

        RECT rcTop = {x0, y0 + 1, x1, y0 + 19};
        DrawTextW(hdc, texts.strRange.c_str(), -1, &rcTop,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        RECT rcPaper = {x0, y1 - 86, x1, y1 - 58};
        DrawTextW(hdc, texts.strPaper.c_str(), -1, &rcPaper, DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);

        const bool bLandscape = js.m_nOrientation != 0;
        const PreviewBox box = PaperPictureBox(x0, y0, x1, y1, pMngr->GetPaperWidthMM(), pMngr->GetPaperHeightMM(),
                                               bLandscape);
        RECT rcPicture = {box.left, box.top, box.right, box.bottom};
        InflateRect(&rcPicture, -6, -6);
        if (rcPicture.right > rcPicture.left && rcPicture.bottom > rcPicture.top) {
            FillRect(hdc, &rcPicture, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
            OffsetRect(&rcPicture, -2, -2);
            FillRect(hdc, &rcPicture, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            OffsetRect(&rcPicture, -2, -2);
            CBitmapDC paper(bLandscape ? IDB_PAPER_LANDSCAPE : IDB_PAPER_PORTRAIT);
            if (paper.IsLoaded())
                DrawStretched(hdc, rcPicture, paper.DC(), paper.Size(), 1);
        }
    }
    canvas.CopyTo(hdcWindow, x0, y0);
}
