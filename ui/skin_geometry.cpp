#include "ui/skin_geometry.h"

#include <algorithm>

bool RectsIntersect(const PieceRect& a, const PieceRect& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

namespace {
// One band of rows: left edge, the middle tiled across, right edge.
void AddRow(std::vector<BlitPiece>& pieces, const PieceRect& t, int bw, int c, int dy, int dh, int sy,
            bool bEdgesOnly)
{
    if (dh <= 0)
        return;
    const int iw = bw - 2 * c;
    const int tw = t.w - 2 * c;
    if (c > 0) {
        pieces.push_back({{t.x, dy, c, dh}, {0, sy, c, dh}});
        pieces.push_back({{t.x + t.w - c, dy, c, dh}, {bw - c, sy, c, dh}});
    }
    if (bEdgesOnly || iw <= 0)
        return;
    for (int xo = 0; xo < tw; xo += iw) {
        const int w = std::min(iw, tw - xo);
        pieces.push_back({{t.x + c + xo, dy, w, dh}, {c, sy, w, dh}});
    }
}
}  // namespace

std::vector<BlitPiece> TiledPieces(const PieceRect& t, int bw, int bh, int c, bool bStretchCentre)
{
    std::vector<BlitPiece> pieces;
    if (t.w <= 0 || t.h <= 0 || bw <= 0 || bh <= 0 || c < 0 || 2 * c > bw || 2 * c > bh)
        return pieces;
    const int ih = bh - 2 * c;
    const int tw = std::max(0, t.w - 2 * c);
    const int th = std::max(0, t.h - 2 * c);
    const int hh = std::min(ih, th);
    if (c > 0) {
        AddRow(pieces, t, bw, c, t.y, c, 0, false);
        AddRow(pieces, t, bw, c, t.y + t.h - c, c, bh - c, false);
    }
    if (bStretchCentre) {
        AddRow(pieces, t, bw, c, t.y + c, hh, c, true);
        if (tw > 0 && th > 0 && bw - 2 * c > 0 && ih > 0)
            pieces.push_back({{t.x + c, t.y + c, tw, th}, {c, c, bw - 2 * c, ih}, true});
    } else {
        AddRow(pieces, t, bw, c, t.y + c, hh, c, false);
    }
    if (th > ih) {
        const int nBand = c > 0 ? c : 5;
        const int yEnd = t.y + t.h - c;
        for (int y = t.y + c + ih; y < yEnd; y += nBand) {
            const int h = std::min(nBand, yEnd - y);
            AddRow(pieces, t, bw, c, y, h, std::max(0, bh - c - h), false);
        }
    }
    for (BlitPiece& p : pieces)
        p.bStretch = p.dst.w != p.src.w || p.dst.h != p.src.h;
    return pieces;
}

std::array<FramePoint, 20> FrameRegionOutline(int W, int H, int nDpi)
{
    const int a = ScaleToDpi(1, nDpi), b = ScaleToDpi(2, nDpi), c = ScaleToDpi(3, nDpi);
    return {{{0, c},         {a, b},         {a, a},     {b, a},     {c, 0},
             {W - c, 0},     {W - b, a},     {W - a, a}, {W - a, b}, {W, c},
             {W, H - c},     {W - a, H - c}, {W - a, H - a}, {W - c, H - a}, {W - c, H},
             {c, H},         {c, H - a},     {a, H - a}, {a, H - c}, {0, H - c}}};
}

FrameMetrics FrameMetricsForDpi(int nDpi)
{
    auto s = [nDpi](int n) { return ScaleToDpi(n, nDpi); };
    return {s(kFrameCaption), s(kFrameBorder), {s(3), s(5), s(kFrameIconSource.w), s(kFrameIconSource.h)},
            s(16),            s(14),           s(24), s(1), s(15), s(20)};
}

int CaptionTextTop(int nCaption, int nTextCellHeight) { return (nCaption - nTextCellHeight) / 2; }

ButtonRect CaptionButtonRect(CaptionButton button, int W, int nDpi)
{
    // Right edges 8, 28 and 48 pixels in from the window's right edge at 96 dpi.
    int nRightInset = 48;
    if (button == CaptionButton::Close)
        nRightInset = 8;
    else if (button == CaptionButton::Minimize)
        nRightInset = 28;
    const int right = W - ScaleToDpi(nRightInset, nDpi);
    const int top = ScaleToDpi(6, nDpi);
    return {right - ScaleToDpi(16, nDpi), top, right, top + ScaleToDpi(14, nDpi)};
}

int CaptionButtonStateIndex(bool bHasCapture, bool bMouseOver, bool bLButtonDown, bool bWindowDisabled)
{
    if (bHasCapture && bMouseOver && bLButtonDown)
        return 2;
    if (bMouseOver)
        return 1;
    if (bWindowDisabled)
        return 3;
    return 0;
}

int CaptionButtonImageX(int nStateIndex, int nBitmapWidth, int nImageWidth)
{
    const int x = nStateIndex * nImageWidth;
    return x + nImageWidth <= nBitmapWidth ? x : 0;
}

TabSize TabItemSize(int nDpi, int nTextCellHeight)
{
    // At 96 dpi the 23 pixels hold a 13-pixel text with 10 to spare.
    return {ScaleToDpi(91, nDpi), std::max(ScaleToDpi(23, nDpi), nTextCellHeight + ScaleToDpi(10, nDpi))};
}

int BmpBtnImageIndex(bool bDisabled, bool bPressed, bool bLatched, bool bMouseOver)
{
    if (bDisabled)
        return 3;
    if (bPressed)
        return 2;
    if (bLatched && !bMouseOver)
        return 2;
    if (bMouseOver)
        return 1;
    return 0;
}

bool IsDarkFace(int r, int g, int b) { return r + g + b <= 384; }
