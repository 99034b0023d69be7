#pragma once
// Portable geometry and state rules of the skinned controls: how a bitmap is cut
// into pieces over a target, the frame's window outline and caption buttons, and
// the image choices of buttons. The Windows painters execute what these compute.
#include <array>
#include <vector>

#include "ui/dpi_scale.h"

struct PieceRect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct BlitPiece {
    PieceRect dst;
    PieceRect src;
    bool bStretch = false;  // dst and src differ in size
};

bool RectsIntersect(const PieceRect& a, const PieceRect& b);

// Nine-part drawing of a bw x bh bitmap over a target with corner size c (DrawTiled):
// corners copied, edges and centre tiled across in steps of bw - 2c, drawn down once
// from min(bh - 2c, target inner height); a taller target is filled with bands of c
// rows (5 when c is 0) copied from the rows just above the bitmap's bottom edge.
// bStretchCentre: the centre is stretched over the target's inner size (DrawStretched).
std::vector<BlitPiece> TiledPieces(const PieceRect& target, int bw, int bh, int c, bool bStretchCentre);

struct FramePoint {
    int x, y;
    bool operator==(const FramePoint&) const = default;
};
// The 20-point outline of a framed window W x H (rounded corners), winding fill.
std::array<FramePoint, 20> FrameRegionOutline(int W, int H, int nDpi);

// The frame as drawn at 96 dpi: caption height and border width (the client area is
// the window less these), and where the window icon lies in the frame bitmap.
constexpr int kFrameCaption = 27;
constexpr int kFrameBorder = 3;
constexpr PieceRect kFrameIconSource = {3, 27, 18, 17};

// The frame's sizes in a window of nDpi.
struct FrameMetrics {
    int nCaption;           // caption band height
    int nBorder;            // left, right and bottom border width
    PieceRect icon;         // where the window icon is drawn
    int nButtonW, nButtonH; // one caption button image
    int nTextX;             // caption text; its shadow one step right and down
    int nTextShadow;
    int nTextHeight;        // the caption font's height
    int nIconHitWidth;      // a double-click left of this (window x) is on the icon
};
FrameMetrics FrameMetricsForDpi(int nDpi);
// Top of the caption text: centred in the band by the font's real cell height.
int CaptionTextTop(int nCaption, int nTextCellHeight);

enum class CaptionButton { Close, Minimize, Help };
struct ButtonRect {
    int left, top, right, bottom;
};
ButtonRect CaptionButtonRect(CaptionButton button, int nWindowWidth, int nDpi);

// 2 pressed (holds the capture, mouse over, left button down), 1 hover, 3 disabled, 0.
int CaptionButtonStateIndex(bool bHasCapture, bool bMouseOver, bool bLButtonDown, bool bWindowDisabled);
// X of the state's image (nImageWidth wide, 16 at 96 dpi) in a caption button bitmap
// of nBitmapWidth. The bitmaps hold three images; the disabled state shows the normal one.
int CaptionButtonImageX(int nStateIndex, int nBitmapWidth, int nImageWidth);

// The sheet's tabs: 91 x 23 at 96 dpi, and never lower than their text needs.
struct TabSize {
    int cx, cy;
};
TabSize TabItemSize(int nDpi, int nTextCellHeight);

// Push-button face image: 3 disabled, 2 pressed (or latched while the mouse is away),
// 1 mouse over, 0 normal.
int BmpBtnImageIndex(bool bDisabled, bool bPressed, bool bLatched, bool bMouseOver);
// White text on a face whose pixel's red + green + blue is at most 384.
bool IsDarkFace(int r, int g, int b);
