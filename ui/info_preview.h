#pragma once
// CInfoPreview: the settings summary panel. Reads JobSettings at paint time and
// keeps nothing else (but its bitmaps); the pages call Refresh() after every change.
#include "resources/resource.h"
#include "ui/skin_bitmap.h"
#include "ui/window_layer.h"

class CInfoPreview : public CSubclassWnd {
public:
    bool Attach(HWND hPanel) { return SubclassWindow(hPanel); }
    // Full redraw: invalidate, erase, update now.
    void Refresh();

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Paint(HDC hdc);

    // Panel background and paper pictures: nine-part with corners of 1.
    CSkinBitmap m_background{IDB_PREVIEW_BKGND, {1, 1, 1, 1, 1, false}};
    CSkinBitmap m_portrait{IDB_PAPER_PORTRAIT, {1, 1, 1, 1, 1, false}};
    CSkinBitmap m_landscape{IDB_PAPER_LANDSCAPE, {1, 1, 1, 1, 1, false}};
};
