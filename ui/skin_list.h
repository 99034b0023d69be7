#pragma once
// CSkinListCtrl: the file list view without background flicker, with its header
// painted from a bitmap by CSkinListHeader (white text on the header face).
#include "ui/window_layer.h"

class CSkinListHeader : public CSubclassWnd {
public:
    CSkinListHeader(UINT nEnabledBitmap, UINT nDisabledBitmap)
        : m_nEnabledBitmap(nEnabledBitmap), m_nDisabledBitmap(nDisabledBitmap) {}

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Paint(HDC hdc);
    UINT m_nEnabledBitmap;
    UINT m_nDisabledBitmap;
};

class CSkinListCtrl : public CSubclassWnd {
public:
    CSkinListCtrl();
    // Adds the border style when missing and skins the header.
    bool Attach(HWND hList);

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    CSkinListHeader m_header;
};
