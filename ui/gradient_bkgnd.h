#pragma once
// CGradientBkgndT: mix-in that paints a window's background from a bitmap (tiled
// nine-part, see DrawTiled) and gives static controls a transparent text mode.
// Call ProcessBkgndMessage from the owner's HandleMessage. Windows build only.
#include <windows.h>

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
    UINT m_nBkgndBitmapId;
    int m_nBkgndCorner;
    HBRUSH m_hHollowBrush;
    HBRUSH m_hWhiteBrush;
    HBRUSH m_hFaceBrush;
};
