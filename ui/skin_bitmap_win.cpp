#include "ui/skin_bitmap.h"

#include "ui/dpi_scale.h"

namespace {
PixelImage ReadPixels(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!GetObjectW(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return {};
    PixelImage image{bm.bmWidth, bm.bmHeight, std::vector<uint32_t>(size_t(bm.bmWidth) * bm.bmHeight)};
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC hdc = GetDC(nullptr);
    const int nRows = GetDIBits(hdc, hBitmap, 0, bm.bmHeight, image.px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, hdc);
    if (nRows != bm.bmHeight)
        return {};
    for (uint32_t& p : image.px)
        p &= 0xFFFFFF;
    return image;
}

// A 24-bit bitmap: 32-bit ones would be taken for images with an alpha channel.
HBITMAP CreateBitmapFromPixels(const PixelImage& image)
{
    if (image.w <= 0 || image.h <= 0)
        return nullptr;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = image.w;
    bi.bmiHeader.biHeight = -image.h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap || !pBits)
        return hBitmap;
    const size_t nStride = (size_t(image.w) * 3 + 3) & ~size_t(3);
    auto* pRow = static_cast<BYTE*>(pBits);
    for (int y = 0; y < image.h; ++y, pRow += nStride)
        for (int x = 0; x < image.w; ++x) {
            const uint32_t p = image.At(x, y);
            pRow[3 * x] = static_cast<BYTE>(p);
            pRow[3 * x + 1] = static_cast<BYTE>(p >> 8);
            pRow[3 * x + 2] = static_cast<BYTE>(p >> 16);
        }
    GdiFlush();
    return hBitmap;
}
}  // namespace

HBITMAP LoadScaledBitmap(UINT nBitmapId, int nDpi, const BitmapScaling& scaling, const PieceRect& part)
{
    auto hSource = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nBitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    const bool bWhole = part.w <= 0 || part.h <= 0;
    if (!hSource || (bWhole && nDpi == kBaseDpi))
        return hSource;
    PixelImage image = ReadPixels(hSource);
    DeleteObject(hSource);
    if (!bWhole)
        image = CropImage(image, part.x, part.y, part.w, part.h);
    return CreateBitmapFromPixels(ScaleSlicedImage(image, scaling, nDpi));
}

const CBitmapDC& CSkinBitmap::At(int nDpi)
{
    if (nDpi != m_nDpi) {
        m_nDpi = nDpi;
        m_bitmap.Attach(LoadScaledBitmap(m_nBitmapId, nDpi, m_scaling, m_part));
    }
    return m_bitmap;
}
