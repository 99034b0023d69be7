#pragma once
// Portable resampling of the skin's bitmaps for a DPI. A bitmap is cut into cells
// along its corners and edges (the parts the painters copy separately); each cell is
// resampled on its own to its scaled size, so no colour bleeds across a cut and a
// corner of 3 pixels at 96 dpi is exactly ScaleToDpi(3) pixels wide at any DPI.
// Keyed images (caption buttons, the window icon) keep their transparent colour
// exact: a pixel is either the key or a blend of opaque pixels only.
#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels 0x00RRGGBB, rows top to bottom.
struct PixelImage {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
};

// Bilinear when growing, area-averaging when shrinking; pKey: the transparent colour.
PixelImage ResampleImage(const PixelImage& src, int dw, int dh, const uint32_t* pKey = nullptr);

// A part of an image (clipped to it).
PixelImage CropImage(const PixelImage& src, int x, int y, int w, int h);

// How a bitmap is cut for scaling: a strip of nImages equal images side by side,
// each with corner widths (at 96 dpi; 0 = no cut) at its four sides; keyed when its
// top-left pixel is a transparent colour.
struct BitmapScaling {
    int nImages = 1;
    int nLeft = 0, nRight = 0, nTop = 0, nBottom = 0;
    bool bKeyed = false;
};

// Cell borders along one axis before and after scaling: 0, ..., the size.
std::vector<int> ScalingCellsX(const BitmapScaling& scaling, int nWidth);
std::vector<int> ScalingCellsY(const BitmapScaling& scaling, int nHeight);
std::vector<int> ScaleCellBorders(const std::vector<int>& borders, int nDpi);

// The whole image scaled cell by cell; at 96 dpi an exact copy.
PixelImage ScaleSlicedImage(const PixelImage& src, const BitmapScaling& scaling, int nDpi);
