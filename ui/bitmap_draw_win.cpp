#include "ui/bitmap_draw.h"

#include "ui/gdi_helpers.h"
#include "ui/skin_geometry.h"

// ---- CBitmapDC, CMemoryCanvas

bool CBitmapDC::Load(UINT nBitmapId)
{
    return Attach(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nBitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

bool CBitmapDC::Attach(HBITMAP hBitmap)
{
    Release();
    m_hBitmap = hBitmap;
    if (!m_hBitmap)
        return false;
    BITMAP bm = {};
    GetObjectW(m_hBitmap, sizeof(bm), &bm);
    m_size = {bm.bmWidth, bm.bmHeight};
    m_hDC = CreateCompatibleDC(nullptr);
    m_hOld = SelectObject(m_hDC, m_hBitmap);
    return true;
}

void CBitmapDC::Release()
{
    if (m_hDC) {
        SelectObject(m_hDC, m_hOld);
        DeleteDC(m_hDC);
        m_hDC = nullptr;
    }
    if (m_hBitmap) {
        DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
    m_size = {0, 0};
}

CMemoryCanvas::CMemoryCanvas(HDC hdcTarget, int cx, int cy) : m_cx(cx), m_cy(cy)
{
    m_hDC = CreateCompatibleDC(hdcTarget);
    m_hBitmap = CreateCompatibleBitmap(hdcTarget, cx > 0 ? cx : 1, cy > 0 ? cy : 1);
    m_hOld = SelectObject(m_hDC, m_hBitmap);
}

CMemoryCanvas::~CMemoryCanvas()
{
    SelectObject(m_hDC, m_hOld);
    DeleteObject(m_hBitmap);
    DeleteDC(m_hDC);
}

void CMemoryCanvas::CopyTo(HDC hdcTarget, int x, int y) const { BitBlt(hdcTarget, x, y, m_cx, m_cy, m_hDC, 0, 0, SRCCOPY); }

// ---- drawing

namespace {
void DrawPieces(HDC hdcDst, const RECT& rcTarget, HDC hdcSrc, SIZE bmSize, int nCorner, const RECT* prcClip,
                POINT o, bool bStretchCentre)
{
    if (!hdcSrc)
        return;
    const PieceRect target{rcTarget.left, rcTarget.top, rcTarget.right - rcTarget.left,
                           rcTarget.bottom - rcTarget.top};
    PieceRect clip{};
    if (prcClip)
        clip = {prcClip->left, prcClip->top, prcClip->right - prcClip->left, prcClip->bottom - prcClip->top};
    const int nOldMode = SetStretchBltMode(hdcDst, COLORONCOLOR);
    for (const BlitPiece& p : TiledPieces(target, bmSize.cx, bmSize.cy, nCorner, bStretchCentre)) {
        if (prcClip && !RectsIntersect(p.dst, clip))
            continue;
        if (p.bStretch)
            StretchBlt(hdcDst, p.dst.x, p.dst.y, p.dst.w, p.dst.h, hdcSrc, o.x + p.src.x, o.y + p.src.y, p.src.w,
                       p.src.h, SRCCOPY);
        else
            BitBlt(hdcDst, p.dst.x, p.dst.y, p.dst.w, p.dst.h, hdcSrc, o.x + p.src.x, o.y + p.src.y, SRCCOPY);
    }
    SetStretchBltMode(hdcDst, nOldMode);
}
}  // namespace

void DrawTiled(HDC hdcDst, const RECT& rcTarget, HDC hdcSrc, SIZE bmSize, int nCorner, const RECT* prcClip,
               POINT ptOrigin)
{
    DrawPieces(hdcDst, rcTarget, hdcSrc, bmSize, nCorner, prcClip, ptOrigin, false);
}

void DrawStretched(HDC hdcDst, const RECT& rcTarget, HDC hdcSrc, SIZE bmSize, int nCorner, const RECT* prcClip,
                   POINT ptOrigin)
{
    DrawPieces(hdcDst, rcTarget, hdcSrc, bmSize, nCorner, prcClip, ptOrigin, true);
}

DWORD SetLayoutLeftToRight(HDC hdc)
{
    using SetLayoutFn = DWORD(WINAPI*)(HDC, DWORD);
    HMODULE hGdi = GetModuleHandleW(L"GDI32.DLL");
    if (!hGdi)
        return 0;
    auto pfnSetLayout = reinterpret_cast<SetLayoutFn>(reinterpret_cast<void*>(GetProcAddress(hGdi, "SetLayout")));
    if (!pfnSetLayout)
        return 0;
    const DWORD dwOld = pfnSetLayout(hdc, 0);
    return (dwOld != GDI_ERROR && (dwOld & LAYOUT_RTL)) ? NOMIRRORBITMAP : 0;
}

void DrawTransparent(HDC hdcDst, int xDst, int yDst, int cx, int cy, HDC hdcSrc, int xSrc, int ySrc)
{
    if (!hdcSrc)
        return;
    SetLayoutLeftToRight(hdcSrc);
    const COLORREF crKey = GetPixel(hdcSrc, xSrc, ySrc);
    GdiTransparentBlt(hdcDst, xDst, yDst, cx, cy, hdcSrc, xSrc, ySrc, cx, cy, crKey);
}
