#pragma once
// CSkinListCtrl: the file list view without background flicker, with its header
// painted from a bitmap by CSkinListHeader (white text on the header face).
#include "ui/skin_bitmap.h"
#include "ui/window_layer.h"

class CSkinListHeader : public CSubclassWnd {
public:
    CSkinListHeader(UINT nEnabledBitmap, UINT nDisabledBitmap)
        : m_enabled(nEnabledBitmap), m_disabled(nDisabledBitmap) {}

protected:
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    void Paint(HDC hdc);
    CSkinBitmap m_enabled;
    CSkinBitmap m_disabled;
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
