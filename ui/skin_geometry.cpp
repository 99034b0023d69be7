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

std::array<FramePoint, 20> FrameRegionOutline(int W, int H)
{
    return {{{0, 3},         {1, 2},         {1, 1},     {2, 1},     {3, 0},
             {W - 3, 0},     {W - 2, 1},     {W - 1, 1}, {W - 1, 2}, {W, 3},
             {W, H - 3},     {W - 1, H - 3}, {W - 1, H - 1}, {W - 3, H - 1}, {W - 3, H},
             {3, H},         {3, H - 1},     {1, H - 1}, {1, H - 3}, {0, H - 3}}};
}

ButtonRect CaptionButtonRect(CaptionButton button, int W)
{
    switch (button) {
    case CaptionButton::Close:
        return {W - 24, 6, W - 8, 20};
    case CaptionButton::Minimize:
        return {W - 44, 6, W - 28, 20};
    case CaptionButton::Help:
    default:
        return {W - 64, 6, W - 48, 20};
    }
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

int CaptionButtonImageX(int nStateIndex, int nBitmapWidth)
{
    const int x = nStateIndex * 16;
    return x + 16 <= nBitmapWidth ? x : 0;
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
