#pragma once
// CCustomTab: the sheet's tab strip painted from bitmaps (selected tab 207,
// unselected 208, strip background 209), composed off-screen, text on top.
#include "ui/gdi_helpers.h"
#include "ui/window_layer.h"

class CCustomTab : public CSubclassWnd {
public:
    bool Attach(HWND hTab);

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    struct TabSkin {
        CBitmapDC bitmap;
        int nLeft, nRight, nTop;  // corner widths and top height
    };
    void Paint(HDC hdc);
    static void DrawTab(HDC hdc, const RECT& rc, const TabSkin& skin);

    TabSkin m_selected{{}, 3, 5, 3};
    TabSkin m_unselected{{}, 1, 1, 3};
    CBitmapDC m_background;
};
