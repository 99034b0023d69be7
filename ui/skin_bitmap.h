#pragma once
// The skin's bitmaps at a DPI. Each bitmap resource is drawn for 96 dpi; at another
// DPI it is scaled cell by cell (image_scale.h) to the size the painters' scaled
// geometry expects, once, and kept until it is asked for at another DPI.
// Windows build only.
#include <windows.h>

#include "ui/gdi_helpers.h"
#include "ui/image_scale.h"
#include "ui/skin_geometry.h"

// A new bitmap: the resource (or, with a part, that part of it, in 96-dpi pixels)
// scaled for nDpi. At 96 dpi the resource's own pixels. nullptr when it cannot load.
HBITMAP LoadScaledBitmap(UINT nBitmapId, int nDpi, const BitmapScaling& scaling, const PieceRect& part = {});

// A skin bitmap selected into a memory context for painting.
class CSkinBitmap {
public:
    explicit CSkinBitmap(UINT nBitmapId, BitmapScaling scaling = {}, PieceRect part = {})
        : m_nBitmapId(nBitmapId), m_scaling(scaling), m_part(part)
    {
    }
    CSkinBitmap(const CSkinBitmap&) = delete;
    CSkinBitmap& operator=(const CSkinBitmap&) = delete;

    // The bitmap at nDpi, loaded when first asked for at that DPI (empty when missing).
    const CBitmapDC& At(int nDpi);
    UINT Id() const { return m_nBitmapId; }

private:
    UINT m_nBitmapId;
    BitmapScaling m_scaling;
    PieceRect m_part;
    int m_nDpi = 0;
    CBitmapDC m_bitmap;
};
