#pragma once
// CInfoPreview: the settings summary panel. Reads JobSettings at paint time and
// keeps nothing else; the pages call Refresh() after every change.
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
};
