#include <gtest/gtest.h>

#include <set>

#include "ui/dpi_scale.h"
#include "ui/image_scale.h"

namespace {
constexpr uint32_t kKey = 0xFF00FF, kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF;

PixelImage Filled(int w, int h, uint32_t colour) { return {w, h, std::vector<uint32_t>(size_t(w) * h, colour)}; }

void Fill(PixelImage& image, int x0, int y0, int x1, int y1, uint32_t colour)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            image.px[size_t(y) * image.w + x] = colour;
}
}  // namespace

TEST(DpiScale, RoundsLikeMulDiv)
{
    for (int n : {0, 1, 3, 27, 91, 110})
        EXPECT_EQ(ScaleToDpi(n, 96), n);
    EXPECT_EQ(ScaleToDpi(27, 144), 41);  // 40.5 rounds up
    EXPECT_EQ(ScaleToDpi(3, 144), 5);
    EXPECT_EQ(ScaleToDpi(27, 120), 34);  // 33.75
    EXPECT_EQ(ScaleToDpi(27, 192), 54);
    EXPECT_EQ(ScaleToDpi(-3, 144), -5);  // half away from zero on both sides
}

TEST(ScaleSlicedImage, At96DpiTheImageIsUntouched)
{
    PixelImage src = Filled(12, 7, kWhite);
    Fill(src, 0, 0, 3, 3, kRed);
    src.px[40] = 0x123456;
    const PixelImage out = ScaleSlicedImage(src, {1, 3, 3, 3, 3, false}, 96);
    EXPECT_EQ(out.w, 12);
    EXPECT_EQ(out.h, 7);
    EXPECT_EQ(out.px, src.px);
}

TEST(ScaleSlicedImage, CornersGetTheirScaledSizeWithoutBleeding)
{
    // A 3-pixel red frame around a blue centre: at 144 dpi the frame is 5 pixels wide
    // on every side and the centre stays pure blue right up to it.
    PixelImage src = Filled(20, 16, kBlue);
    Fill(src, 0, 0, 20, 3, kRed);
    Fill(src, 0, 13, 20, 16, kRed);
    Fill(src, 0, 0, 3, 16, kRed);
    Fill(src, 17, 0, 20, 16, kRed);
    const PixelImage out = ScaleSlicedImage(src, {1, 3, 3, 3, 3, false}, 144);
    ASSERT_EQ(out.w, 5 + 21 + 5);
    ASSERT_EQ(out.h, 5 + 15 + 5);
    for (int x = 0; x < out.w; ++x) {
        const bool bEdge = x < 5 || x >= out.w - 5;
        EXPECT_EQ(out.At(x, 4), kRed) << x;
        EXPECT_EQ(out.At(x, 5), bEdge ? kRed : kBlue) << x;
        EXPECT_EQ(out.At(x, out.h - 6), bEdge ? kRed : kBlue) << x;
        EXPECT_EQ(out.At(x, out.h - 5), kRed) << x;
    }
}

TEST(ScaleSlicedImage, AStripOfImagesScalesEachImageAlike)
{
    // Four 30-pixel images with corners of 4, as the push-button face.
    PixelImage src = Filled(120, 25, kWhite);
    for (int n = 0; n < 4; ++n)
        Fill(src, n * 30, 0, n * 30 + 4, 25, kBlack);
    const PixelImage out = ScaleSlicedImage(src, {4, 4, 4, 4, 4, false}, 192);
    ASSERT_EQ(out.w, 240);
    ASSERT_EQ(out.h, 50);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(out.At(n * 60 + 7, 20), kBlack) << n;
        EXPECT_EQ(out.At(n * 60 + 8, 20), kWhite) << n;
        EXPECT_EQ(out.At(n * 60 + 59, 20), kWhite) << n;
    }
}

TEST(ScaleSlicedImage, KeyedImagesBlendOnlyOpaquePixels)
{
    // A white bar with a black border on the key colour, grown by 1.25 and 1.5: every
    // pixel is the key or a grey between black and white, never a mix with the key.
    PixelImage src = Filled(16, 14, kKey);
    Fill(src, 3, 4, 13, 10, kBlack);
    Fill(src, 4, 5, 12, 9, kWhite);
    for (int nDpi : {120, 144}) {
        const PixelImage out = ScaleSlicedImage(src, {3, 0, 0, 0, 0, true}, nDpi);
        EXPECT_EQ(out.At(0, 0), kKey);
        std::set<uint32_t> colours(out.px.begin(), out.px.end());
        for (uint32_t c : colours) {
            if (c == kKey)
                continue;
            const uint32_t r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
            EXPECT_TRUE(r == g && g == b) << std::hex << c << " at " << std::dec << nDpi;
        }
        EXPECT_TRUE(colours.count(kWhite));
    }
}

TEST(ResampleImage, ShrinkingAveragesAndCropKeepsInside)
{
    PixelImage src = Filled(4, 2, kBlack);
    Fill(src, 0, 0, 2, 2, kWhite);
    const PixelImage half = ResampleImage(src, 2, 1);
    EXPECT_EQ(half.At(0, 0), kWhite);
    EXPECT_EQ(half.At(1, 0), kBlack);
    EXPECT_EQ(ResampleImage(src, 1, 1).At(0, 0), 0x808080u);
    const PixelImage part = CropImage(src, 3, 1, 5, 5);
    EXPECT_EQ(part.w, 1);
    EXPECT_EQ(part.h, 1);
    EXPECT_EQ(part.At(0, 0), kBlack);
}
