#pragma once
// CGradientBkgndT: mix-in that paints a window's background from a bitmap (tiled
// nine-part, see DrawTiled, scaled to the window's DPI) and lets labels, group boxes,
// radio buttons and check boxes show that background behind their text.
// Call ProcessBkgndMessage from the owner's HandleMessage. Windows build only.
#include <windows.h>

#include "ui/skin_bitmap.h"

class CGradientBkgndT {
public:
    CGradientBkgndT(UINT nBitmapId, int nCorner);
    virtual ~CGradientBkgndT();
    CGradientBkgndT(const CGradientBkgndT&) = delete;
    CGradientBkgndT& operator=(const CGradientBkgndT&) = delete;

    // WM_ERASEBKGND and WM_CTLCOLORSTATIC.
    bool ProcessBkgndMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    HBRUSH HollowBrush() const { return m_hHollowBrush; }
    HBRUSH WhiteBrush() const { return m_hWhiteBrush; }
    HBRUSH FaceBrush() const { return m_hFaceBrush; }  // RGB(241, 241, 244)

private:
    void PaintBackground(HWND hWnd, HDC hdc, const RECT* prcClip);
    // The background of the whole client area as a brush, made again when the size changes.
    HBRUSH BackgroundBrush(HWND hWnd);

    CSkinBitmap m_bitmap;
    int m_nBkgndCorner;
    HBRUSH m_hHollowBrush;
    HBRUSH m_hWhiteBrush;
    HBRUSH m_hFaceBrush;
    HBRUSH m_hBackgroundBrush = nullptr;
    SIZE m_brushSize = {};
    int m_nBrushDpi = 0;
};
