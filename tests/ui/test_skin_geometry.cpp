#include <gtest/gtest.h>

#include <vector>

#include "ui/skin_geometry.h"

namespace {
// Paints the pieces into a grid of source coordinates: every target pixel records
// which bitmap pixel it shows (-1 when none), so the tests read where pixels come from.
struct Painted {
    int w, h;
    std::vector<int> sx, sy, count;
};

Painted Paint(const PieceRect& target, int bw, int bh, int c, bool bStretch)
{
    Painted p{target.w, target.h, std::vector<int>(target.w * target.h, -1), std::vector<int>(target.w * target.h, -1),
              std::vector<int>(target.w * target.h, 0)};
    for (const BlitPiece& piece : TiledPieces(target, bw, bh, c, bStretch)) {
        EXPECT_GE(piece.src.x, 0);
        EXPECT_GE(piece.src.y, 0);
        EXPECT_LE(piece.src.x + piece.src.w, bw);
        EXPECT_LE(piece.src.y + piece.src.h, bh);
        for (int y = 0; y < piece.dst.h; ++y)
            for (int x = 0; x < piece.dst.w; ++x) {
                const int tx = piece.dst.x + x - target.x, ty = piece.dst.y + y - target.y;
                EXPECT_TRUE(tx >= 0 && tx < target.w && ty >= 0 && ty < target.h) << "piece outside the target";
                if (!(tx >= 0 && tx < target.w && ty >= 0 && ty < target.h))
                    continue;
                const int i = ty * target.w + tx;
                p.sx[i] = piece.src.x + x * piece.src.w / piece.dst.w;
                p.sy[i] = piece.src.y + y * piece.src.h / piece.dst.h;
                ++p.count[i];
            }
    }
    return p;
}

bool Covered(const Painted& p)
{
    for (int n : p.count)
        if (n == 0)
            return false;
    return true;
}
}  // namespace

TEST(TiledPieces, CornersEdgesAndTiledCentre)
{
    // Bitmap 10 x 10 with corner 2: inner 6 x 6; target 20 x 9 is shorter than the bitmap.
    const Painted p = Paint({5, 7, 20, 9}, 10, 10, 2, false);
    ASSERT_TRUE(Covered(p));
    auto at = [&](int x, int y) { return std::pair<int, int>(p.sx[y * p.w + x], p.sy[y * p.w + x]); };
    EXPECT_EQ(at(0, 0), std::make_pair(0, 0));
    EXPECT_EQ(at(19, 0), std::make_pair(9, 0));
    EXPECT_EQ(at(0, 8), std::make_pair(0, 9));
    EXPECT_EQ(at(19, 8), std::make_pair(9, 9));
    // The middle repeats every 6 columns starting at the bitmap's column 2.
    EXPECT_EQ(at(2, 3).first, 2);
    EXPECT_EQ(at(8, 3).first, 2);
    EXPECT_EQ(at(13, 3).first, 7);
    // Inner height 5 < 6: rows come from the top of the inner part.
    EXPECT_EQ(at(4, 6).second, 6);
}

TEST(TiledPieces, TallTargetIsFilledWithBandsAboveTheBottomEdge)
{
    const Painted p = Paint({0, 0, 12, 30}, 10, 10, 2, false);
    ASSERT_TRUE(Covered(p));
    // Rows 2..7 once from the inner part, then bands of 2 rows from bitmap rows 6..7.
    EXPECT_EQ(p.sy[5 * 12 + 4], 5);
    EXPECT_EQ(p.sy[8 * 12 + 4], 6);
    EXPECT_EQ(p.sy[9 * 12 + 4], 7);
    EXPECT_EQ(p.sy[27 * 12 + 4], 7);
    EXPECT_EQ(p.sy[29 * 12 + 4], 9);  // the bottom edge
}

TEST(TiledPieces, NoCornerUsesFiveRowBands)
{
    const Painted p = Paint({0, 0, 70, 23}, 64, 10, 0, false);
    ASSERT_TRUE(Covered(p));
    EXPECT_EQ(p.sx[65], 1);           // tiled across in steps of the whole width
    EXPECT_EQ(p.sy[10 * 70 + 3], 5);  // first band: rows 5..9
    EXPECT_EQ(p.sy[15 * 70 + 3], 5);  // second band
    EXPECT_EQ(p.sy[20 * 70 + 3], 7);  // last band of 3 rows: bitmap rows 7..9
}

TEST(TiledPieces, StretchedCentreCoversTheInnerArea)
{
    const std::vector<BlitPiece> pieces = TiledPieces({0, 0, 40, 8}, 10, 10, 1, true);
    bool bFound = false;
    for (const BlitPiece& piece : pieces)
        if (piece.bStretch && piece.dst.x == 1 && piece.dst.y == 1 && piece.dst.w == 38 && piece.dst.h == 6)
            bFound = piece.src.x == 1 && piece.src.y == 1 && piece.src.w == 8 && piece.src.h == 8;
    EXPECT_TRUE(bFound);
    EXPECT_TRUE(Covered(Paint({0, 0, 40, 8}, 10, 10, 1, true)));
}

TEST(TiledPieces, DegenerateInputsDrawNothing)
{
    EXPECT_TRUE(TiledPieces({0, 0, 0, 10}, 10, 10, 1, false).empty());
    EXPECT_TRUE(TiledPieces({0, 0, 10, 10}, 0, 10, 1, false).empty());
    EXPECT_TRUE(TiledPieces({0, 0, 10, 10}, 4, 4, 3, false).empty());
}

TEST(FrameRegionOutline, RoundedCornersInsideTheWindow)
{
    const auto outline = FrameRegionOutline(200, 100, 96);
    EXPECT_EQ(outline[0].x, 0);
    EXPECT_EQ(outline[0].y, 3);
    EXPECT_EQ(outline[5].x, 197);
    EXPECT_EQ(outline[9].x, 200);
    EXPECT_EQ(outline[14].y, 100);
    EXPECT_EQ(outline[19].y, 97);
    for (const FramePoint& pt : outline) {
        EXPECT_TRUE(pt.x >= 0 && pt.x <= 200);
        EXPECT_TRUE(pt.y >= 0 && pt.y <= 100);
    }
}

TEST(CaptionButtons, RectanglesFromTheRightEdge)
{
    const ButtonRect close = CaptionButtonRect(CaptionButton::Close, 300, 96);
    EXPECT_EQ(close.left, 276);
    EXPECT_EQ(close.right, 292);
    const ButtonRect minimize = CaptionButtonRect(CaptionButton::Minimize, 300, 96);
    EXPECT_EQ(minimize.left, 256);
    EXPECT_EQ(CaptionButtonRect(CaptionButton::Help, 300, 96).left, 236);
    EXPECT_EQ(close.top, 6);
    EXPECT_EQ(close.bottom, 20);
}

TEST(CaptionButtons, StateIndexAndImage)
{
    EXPECT_EQ(CaptionButtonStateIndex(true, true, true, false), 2);
    EXPECT_EQ(CaptionButtonStateIndex(false, true, true, false), 1);  // pressed only with the capture
    EXPECT_EQ(CaptionButtonStateIndex(false, true, false, true), 1);
    EXPECT_EQ(CaptionButtonStateIndex(false, false, false, true), 3);
    EXPECT_EQ(CaptionButtonStateIndex(false, false, true, false), 0);
    EXPECT_EQ(CaptionButtonImageX(2, 48, 16), 32);
    EXPECT_EQ(CaptionButtonImageX(3, 48, 16), 0);  // three images: disabled shows the normal one
}

TEST(BmpBtn, ImageChoiceAndTextColour)
{
    EXPECT_EQ(BmpBtnImageIndex(true, true, true, true), 3);
    EXPECT_EQ(BmpBtnImageIndex(false, true, false, true), 2);
    EXPECT_EQ(BmpBtnImageIndex(false, false, true, false), 2);
    EXPECT_EQ(BmpBtnImageIndex(false, false, true, true), 1);
    EXPECT_EQ(BmpBtnImageIndex(false, false, false, true), 1);
    EXPECT_EQ(BmpBtnImageIndex(false, false, false, false), 0);
    EXPECT_TRUE(IsDarkFace(128, 128, 128));
    EXPECT_FALSE(IsDarkFace(129, 128, 128));
}

TEST(FrameAtDpi, SizesScaleWithTheDpiAndStayAt96)
{
    const FrameMetrics m96 = FrameMetricsForDpi(96);
    EXPECT_EQ(m96.nCaption, 27);
    EXPECT_EQ(m96.nBorder, 3);
    EXPECT_EQ(m96.icon.x, 3);
    EXPECT_EQ(m96.icon.y, 5);
    EXPECT_EQ(m96.icon.w, 18);
    EXPECT_EQ(m96.icon.h, 17);
    EXPECT_EQ(m96.nTextHeight, 15);
    EXPECT_EQ(CaptionTextTop(m96.nCaption, 15), 6);
    const FrameMetrics m192 = FrameMetricsForDpi(192);
    EXPECT_EQ(m192.nCaption, 54);
    EXPECT_EQ(m192.nBorder, 6);
    EXPECT_EQ(m192.icon.w, 36);
    EXPECT_EQ(m192.nButtonW, 32);
    EXPECT_EQ(m192.nTextX, 48);
    EXPECT_EQ(FrameMetricsForDpi(144).nCaption, 41);

    const ButtonRect close = CaptionButtonRect(CaptionButton::Close, 600, 192);
    EXPECT_EQ(close.left, 600 - 48);
    EXPECT_EQ(close.right, 600 - 16);
    EXPECT_EQ(close.top, 12);
    EXPECT_EQ(close.bottom, 40);
    EXPECT_EQ(CaptionButtonRect(CaptionButton::Minimize, 600, 144).right, 600 - 42);
    EXPECT_EQ(CaptionButtonImageX(2, 96, 32), 64);

    const auto outline = FrameRegionOutline(400, 200, 192);
    EXPECT_EQ(outline[0].y, 6);
    EXPECT_EQ(outline[1].x, 2);
    EXPECT_EQ(outline[1].y, 4);
    EXPECT_EQ(outline[12].x, 398);
    EXPECT_EQ(outline[14].y, 200);
}

TEST(TabItemSize, ScaledAndNeverLowerThanItsText)
{
    EXPECT_EQ(TabItemSize(96, 13).cx, 91);
    EXPECT_EQ(TabItemSize(96, 13).cy, 23);
    EXPECT_EQ(TabItemSize(144, 20).cx, 137);
    EXPECT_EQ(TabItemSize(144, 20).cy, 35);
    EXPECT_EQ(TabItemSize(192, 26).cy, 46);
    EXPECT_EQ(TabItemSize(96, 20).cy, 30);  // a large font at 96 dpi grows the tab
}
