#include "ui/info_preview.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/user_language.h"
#include "job/settings/param_mngr.h"
#include "resources/resource.h"
#include "ui/bitmap_draw.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_helpers.h"
#include "ui/info_preview_text.h"
#include "ui/system_dpi.h"

namespace {
// Lines drawn one below the other, the block centred vertically in the box; nothing is
// cut with an ellipsis: the lines were made to fit.
void DrawLines(HDC hdc, const PreviewBox& box, int nInset, const std::vector<std::wstring>& arrLines, UINT nAlign,
               int nCellHeight)
{
    const int nBlock = static_cast<int>(arrLines.size()) * nCellHeight;
    int y = std::max(box.top, box.top + (box.bottom - box.top) / 2 - nBlock / 2);  // as DT_VCENTER places one line
    for (const std::wstring& strLine : arrLines) {
        RECT rc = {box.left + nInset, y, box.right - nInset, y + nCellHeight};
        DrawTextW(hdc, strLine.c_str(), -1, &rc, nAlign | DT_SINGLELINE | DT_NOPREFIX);
        y += nCellHeight;
    }
}

void DrawBand(HDC hdc, const PreviewBox& band, int nInset, const std::vector<std::wstring>& arrLines, HBRUSH hBrush,
              int nCellHeight)
{
    RECT rc = {band.left, band.top, band.right, band.bottom};
    FillRect(hdc, &rc, hBrush);
    DrawLines(hdc, band, nInset, arrLines, DT_LEFT, nCellHeight);
}

// The paper's name and its size, each wrapped on its own.
std::vector<std::wstring> WrapPaperText(const std::wstring& strPaper, int nWidth, const TextWidth& fnWidth)
{
    const size_t nBreak = strPaper.find(L'\n');
    std::vector<std::wstring> arrLines = WrapText(strPaper.substr(0, nBreak), nWidth, fnWidth);
    if (nBreak != std::wstring::npos) {
        const std::vector<std::wstring> arrSize = WrapText(strPaper.substr(nBreak + 1), nWidth, fnWidth);
        arrLines.insert(arrLines.end(), arrSize.begin(), arrSize.end());
    }
    return arrLines;
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
        const TextWidth fnWidth = [hdc](const std::wstring& strText) {
            SIZE size = {};
            GetTextExtentPoint32W(hdc, strText.c_str(), static_cast<int>(strText.size()), &size);
            return static_cast<int>(size.cx);
        };
        // The lines first: the parts grow to hold them.
        const int nInset = ScaleToDpi(5, nDpi);
        const int nWidth = (x1 - x0) - 2 * ScaleToDpi(1, nDpi) - 2 * nInset;
        const std::vector<std::wstring> arrBands[3] = {WrapLabelled(texts.copies, nWidth, fnWidth),
                                                       WrapLabelled(texts.duplex, nWidth, fnWidth),
                                                       WrapLabelled(texts.color, nWidth, fnWidth)};
        const std::vector<std::wstring> arrTop = WrapText(texts.strRange, nWidth, fnWidth);
        const std::vector<std::wstring> arrPaper = WrapPaperText(texts.strPaper, nWidth, fnWidth);
        PreviewLines lines;
        lines.nTop = static_cast<int>(arrTop.size());
        lines.nPaper = static_cast<int>(arrPaper.size());
        for (int i = 0; i < 3; ++i)
            lines.nBands[i] = static_cast<int>(arrBands[i].size());
        const PreviewLayout layout = ComputePreviewLayout(x0, y0, x1, y1, nDpi, tm.tmHeight, lines);
        SetTextColor(hdc, RGB(0, 0, 0));
        SetBkMode(hdc, TRANSPARENT);
        HBRUSH hBand = CreateSolidBrush(RGB(210, 210, 210));
        for (int i = 0; i < 3; ++i)
            DrawBand(hdc, layout.bands[i], layout.nTextInset, arrBands[i], hBand, tm.tmHeight);
        DeleteObject(hBand);

        DrawLines(hdc, layout.topLine, nInset, arrTop, DT_CENTER, tm.tmHeight);
        PreviewBox paperText = layout.paperText;
        paperText.bottom = paperText.top + static_cast<int>(arrPaper.size()) * tm.tmHeight;  // from its top, as before
        DrawLines(hdc, paperText, nInset, arrPaper, DT_CENTER, tm.tmHeight);

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
