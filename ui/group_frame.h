#pragma once
// CGroupFrame: a group box painted by the page, so that its title keeps a room of its
// own from the frame's corner and lines at every DPI (the platform's box sets it a few
// pixels from the corner whatever the DPI). The page's background shows through.
#include "ui/window_layer.h"

class CGroupFrame : public CSubclassWnd {
protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Paint(HDC hdc);
};

// Where a group box's title goes and how much room it leaves: the title starts this
// far in from the frame's side, and keeps this gap to the lines on both of its sides.
constexpr int kGroupTitleInset = 8;  // pixels at 96 dpi
constexpr int kGroupTitleGap = 2;
