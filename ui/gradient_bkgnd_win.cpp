#include "ui/gradient_bkgnd.h"

#include "ui/bitmap_draw.h"
#include "ui/dpi_scale.h"
#include "ui/gdi_helpers.h"
#include "ui/system_dpi.h"
#include "ui/window_layer.h"

namespace {
// Controls that draw their text straight on the background; edits and combo boxes
// keep their own white field.
bool ShowsBackground(HWND hControl)
{
    return IsWindowOfClass(hControl, L"Static") || IsWindowOfClass(hControl, L"Button");
}
}  // namespace

CGradientBkgndT::CGradientBkgndT(UINT nBitmapId, int nCorner)
    : m_bitmap(nBitmapId, BitmapScaling{1, nCorner, nCorner, nCorner, nCorner, false}),
      m_nBkgndCorner(nCorner),
      m_hHollowBrush(static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH))),
      m_hWhiteBrush(CreateSolidBrush(RGB(255, 255, 255))),
      m_hFaceBrush(CreateSolidBrush(RGB(241, 241, 244)))
{
}

CGradientBkgndT::~CGradientBkgndT()
{
    DeleteObject(m_hWhiteBrush);
    DeleteObject(m_hFaceBrush);
    if (m_hBackgroundBrush)
        DeleteObject(m_hBackgroundBrush);
}

void CGradientBkgndT::PaintBackground(HWND hWnd, HDC hdc, const RECT* prcClip)
{
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    const int nDpi = SystemDpi();
    const CBitmapDC& bitmap = m_bitmap.At(nDpi);
    if (bitmap.IsLoaded())
        DrawTiled(hdc, rcClient, bitmap.DC(), bitmap.Size(), ScaleToDpi(m_nBkgndCorner, nDpi), prcClip);
    else
        FillRect(hdc, &rcClient, m_hWhiteBrush);
}

HBRUSH CGradientBkgndT::BackgroundBrush(HWND hWnd)
{
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    const int nDpi = SystemDpi();
    if (m_hBackgroundBrush && m_brushSize.cx == rcClient.right && m_brushSize.cy == rcClient.bottom &&
        m_nBrushDpi == nDpi)
        return m_hBackgroundBrush;
    if (m_hBackgroundBrush)
        DeleteObject(m_hBackgroundBrush);
    m_hBackgroundBrush = nullptr;
    if (rcClient.right <= 0 || rcClient.bottom <= 0)
        return nullptr;
    HDC hdcWindow = GetDC(hWnd);
    {
        CMemoryCanvas canvas(hdcWindow, rcClient.right, rcClient.bottom);
        PaintBackground(hWnd, canvas.DC(), nullptr);
        // The brush keeps its own copy of the pattern.
        HBITMAP hPattern = static_cast<HBITMAP>(GetCurrentObject(canvas.DC(), OBJ_BITMAP));
        m_hBackgroundBrush = CreatePatternBrush(hPattern);
    }
    ReleaseDC(hWnd, hdcWindow);
    m_brushSize = {rcClient.right, rcClient.bottom};
    m_nBrushDpi = nDpi;
    return m_hBackgroundBrush;
}

bool CGradientBkgndT::ProcessBkgndMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_ERASEBKGND: {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        RECT rcClip;
        const bool bClip = GetClipBox(hdc, &rcClip) > NULLREGION;
        PaintBackground(hWnd, hdc, bClip ? &rcClip : nullptr);
        lResult = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC: {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        HWND hControl = reinterpret_cast<HWND>(lParam);
        SetBkMode(hdc, TRANSPARENT);
        HBRUSH hBrush = ShowsBackground(hControl) ? BackgroundBrush(hWnd) : nullptr;
        if (!hBrush) {
            lResult = reinterpret_cast<LRESULT>(m_hWhiteBrush);
            return true;
        }
        // The control fills with the part of the background that lies behind it.
        POINT ptOrigin = {0, 0};
        MapWindowPoints(hControl, hWnd, &ptOrigin, 1);
        SetBrushOrgEx(hdc, -ptOrigin.x, -ptOrigin.y, nullptr);
        lResult = reinterpret_cast<LRESULT>(hBrush);
        return true;
    }
    default:
        return false;
    }
}
