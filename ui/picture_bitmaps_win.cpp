#include "ui/picture_bitmaps.h"

#include <algorithm>

#include "ui/dpi_scale.h"
#include "ui/skin_bitmap.h"
#include "ui/system_dpi.h"

CPictureBitmaps::~CPictureBitmaps()
{
    for (const Entry& entry : m_entries)
        DeleteObject(entry.hBitmap);
}

HBITMAP CPictureBitmaps::Get(UINT nBitmapId, int nDpi)
{
    for (const Entry& entry : m_entries)
        if (entry.nBitmapId == nBitmapId && entry.nDpi == nDpi)
            return entry.hBitmap;
    // At 96 dpi the resource as the control itself would load it.
    HBITMAP hBitmap = nDpi == kBaseDpi ? LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nBitmapId))
                                       : LoadScaledBitmap(nBitmapId, nDpi, {});
    if (hBitmap)
        m_entries.push_back({nBitmapId, nDpi, hBitmap});
    return hBitmap;
}

bool CPictureBitmaps::Owns(HBITMAP hBitmap) const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.hBitmap == hBitmap; });
}

void SetPictureBitmap(HWND hPicture, CPictureBitmaps& bitmaps, UINT nBitmapId)
{
    HBITMAP hBitmap = bitmaps.Get(nBitmapId, SystemDpi());
    if (!hBitmap)
        return;
    auto hPrevious = reinterpret_cast<HBITMAP>(
        SendMessageW(hPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
    if (hPrevious && hPrevious != hBitmap && !bitmaps.Owns(hPrevious))
        DeleteObject(hPrevious);
    InvalidateRect(hPicture, nullptr, TRUE);
}
