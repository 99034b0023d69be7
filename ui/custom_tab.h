#pragma once
// CCustomTab: the sheet's tab strip painted from bitmaps (selected tab 207,
// unselected 208, strip background 209) scaled to the window's DPI, composed
// off-screen, text on top.
#include "resources/resource.h"
#include "ui/skin_bitmap.h"
#include "ui/window_layer.h"

#include <string>

// The text of a tab, access-key marks included.
std::wstring TabItemText(HWND hTab, int nIndex);

class CCustomTab : public CSubclassWnd {
public:
    bool Attach(HWND hTab);

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    struct TabSkin {
        CSkinBitmap bitmap;
        int nLeft, nRight, nTop;  // corner widths and top height at 96 dpi
    };
    void Paint(HDC hdc);
    static void DrawTab(HDC hdc, const RECT& rc, TabSkin& skin, int nDpi);

    TabSkin m_selected{CSkinBitmap(IDB_TAB_SELECTED, {1, 3, 5, 3, 0, false}), 3, 5, 3};
    TabSkin m_unselected{CSkinBitmap(IDB_TAB_UNSELECTED, {1, 1, 1, 3, 0, false}), 1, 1, 3};
    CSkinBitmap m_background{IDB_TAB_BKGND, {1, 1, 1, 1, 1, false}};
};
