#include "ui/gradient_bkgnd.h"

#include "ui/bitmap_draw.h"
#include "ui/gdi_helpers.h"

CGradientBkgndT::CGradientBkgndT(UINT nBitmapId, int nCorner)
    : m_nBkgndBitmapId(nBitmapId),
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
}

bool CGradientBkgndT::ProcessBkgndMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult)
{
    switch (uMsg) {
    case WM_ERASEBKGND: {
        HDC hdc = reinterpret_cast<HDC>(wParam);
        RECT rcClient;
        GetClientRect(hWnd, &rcClient);
        RECT rcClip;
        const bool bClip = GetClipBox(hdc, &rcClip) > NULLREGION;
        CBitmapDC bitmap(m_nBkgndBitmapId);
        if (bitmap.IsLoaded())
            DrawTiled(hdc, rcClient, bitmap.DC(), bitmap.Size(), m_nBkgndCorner, bClip ? &rcClip : nullptr);
        else
            FillRect(hdc, &rcClient, m_hWhiteBrush);
        lResult = TRUE;
        return true;
    }
    case WM_CTLCOLORSTATIC:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        lResult = reinterpret_cast<LRESULT>(m_hWhiteBrush);
        return true;
    default:
        return false;
    }
}
