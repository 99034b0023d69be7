#include "ui/image_scale.h"

#include <algorithm>
#include <cmath>

#include "ui/dpi_scale.h"

namespace {
struct Tap {
    int i;
    double w;
};

// The source pixels and weights behind each destination pixel along one axis.
std::vector<std::vector<Tap>> AxisTaps(int nSrc, int nDst)
{
    std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(nDst));
    for (int d = 0; d < nDst; ++d) {
        if (nDst >= nSrc) {
            const double s = std::clamp((d + 0.5) * nSrc / nDst - 0.5, 0.0, static_cast<double>(nSrc - 1));
            const int i0 = static_cast<int>(std::floor(s));
            const int i1 = std::min(i0 + 1, nSrc - 1);
            const double f = s - i0;
            taps[d].push_back({i0, 1.0 - f});
            if (f > 0.0 && i1 != i0)
                taps[d].push_back({i1, f});
        } else {
            const double a = static_cast<double>(d) * nSrc / nDst, b = static_cast<double>(d + 1) * nSrc / nDst;
            for (int i = static_cast<int>(std::floor(a)); i < b && i < nSrc; ++i) {
                const double w = std::min(b, i + 1.0) - std::max(a, static_cast<double>(i));
                if (w > 0.0)
                    taps[d].push_back({i, w / (b - a)});
            }
        }
    }
    return taps;
}

uint8_t Channel(double v) { return static_cast<uint8_t>(std::clamp(static_cast<int>(v + 0.5), 0, 255)); }

void Paste(PixelImage& dst, const PixelImage& part, int x, int y)
{
    for (int row = 0; row < part.h; ++row)
        std::copy_n(part.px.begin() + static_cast<std::ptrdiff_t>(row) * part.w, part.w,
                    dst.px.begin() + static_cast<std::ptrdiff_t>(y + row) * dst.w + x);
}

// 0, the cuts of each image (its start and its corners), the size.
std::vector<int> Cells(int nSize, int nImages, int nLow, int nHigh)
{
    std::vector<int> borders{0};
    const int nImage = nImages > 0 ? nSize / nImages : nSize;
    auto add = [&](int x) {
        if (x > borders.back() && x < nSize)
            borders.push_back(x);
    };
    for (int n = 0; n < std::max(1, nImages); ++n) {
        const int x = n * nImage;
        add(x);
        if (nLow + nHigh < nImage) {
            if (nLow > 0)
                add(x + nLow);
            if (nHigh > 0)
                add(x + nImage - nHigh);
        }
    }
    borders.push_back(nSize);
    return borders;
}
}  // namespace

PixelImage ResampleImage(const PixelImage& src, int dw, int dh, const uint32_t* pKey)
{
    if (dw <= 0 || dh <= 0 || src.w <= 0 || src.h <= 0)
        return {};
    if (dw == src.w && dh == src.h)
        return src;
    const auto xTaps = AxisTaps(src.w, dw);
    const auto yTaps = AxisTaps(src.h, dh);
    PixelImage dst{dw, dh, std::vector<uint32_t>(static_cast<std::size_t>(dw) * dh)};
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            double r = 0, g = 0, b = 0, cover = 0;
            for (const Tap& ty : yTaps[y])
                for (const Tap& tx : xTaps[x]) {
                    const uint32_t p = src.At(tx.i, ty.i);
                    if (pKey && p == *pKey)
                        continue;
                    const double w = tx.w * ty.w;
                    r += w * ((p >> 16) & 0xFF);
                    g += w * ((p >> 8) & 0xFF);
                    b += w * (p & 0xFF);
                    cover += w;
                }
            uint32_t out = 0;
            if (pKey && cover < 0.5)
                out = *pKey;
            else if (cover > 0)
                out = (uint32_t{Channel(r / cover)} << 16) | (uint32_t{Channel(g / cover)} << 8) | Channel(b / cover);
            dst.px[static_cast<std::size_t>(y) * dw + x] = out;
        }
    }
    return dst;
}

PixelImage CropImage(const PixelImage& src, int x, int y, int w, int h)
{
    x = std::clamp(x, 0, src.w);
    y = std::clamp(y, 0, src.h);
    w = std::clamp(w, 0, src.w - x);
    h = std::clamp(h, 0, src.h - y);
    PixelImage part{w, h, std::vector<uint32_t>(static_cast<std::size_t>(w) * h)};
    for (int row = 0; row < h; ++row)
        std::copy_n(src.px.begin() + static_cast<std::ptrdiff_t>(y + row) * src.w + x, w,
                    part.px.begin() + static_cast<std::ptrdiff_t>(row) * w);
    return part;
}

std::vector<int> ScalingCellsX(const BitmapScaling& scaling, int nWidth)
{
    return Cells(nWidth, scaling.nImages, scaling.nLeft, scaling.nRight);
}

std::vector<int> ScalingCellsY(const BitmapScaling& scaling, int nHeight)
{
    return Cells(nHeight, 1, scaling.nTop, scaling.nBottom);
}

std::vector<int> ScaleCellBorders(const std::vector<int>& borders, int nDpi)
{
    std::vector<int> scaled{0};
    for (size_t i = 1; i < borders.size(); ++i)
        scaled.push_back(scaled.back() + std::max(1, ScaleToDpi(borders[i] - borders[i - 1], nDpi)));
    return scaled;
}

PixelImage ScaleSlicedImage(const PixelImage& src, const BitmapScaling& scaling, int nDpi)
{
    if (src.w <= 0 || src.h <= 0)
        return {};
    const std::vector<int> xs = ScalingCellsX(scaling, src.w), ys = ScalingCellsY(scaling, src.h);
    const std::vector<int> dxs = ScaleCellBorders(xs, nDpi), dys = ScaleCellBorders(ys, nDpi);
    if (xs == dxs && ys == dys)
        return src;
    const uint32_t key = src.At(0, 0);
    PixelImage dst{dxs.back(), dys.back(), std::vector<uint32_t>(static_cast<std::size_t>(dxs.back()) * dys.back())};
    for (size_t j = 0; j + 1 < ys.size(); ++j)
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            const PixelImage cell = CropImage(src, xs[i], ys[j], xs[i + 1] - xs[i], ys[j + 1] - ys[j]);
            Paste(dst, ResampleImage(cell, dxs[i + 1] - dxs[i], dys[j + 1] - dys[j], scaling.bKeyed ? &key : nullptr),
                  dxs[i], dys[j]);
        }
    return dst;
}
